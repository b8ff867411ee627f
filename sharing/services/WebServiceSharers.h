#pragma once

// Makes the web-service share services (Google Reader, Instapaper, Pinboard, Read It Later,
// Tumblr) known by their class names. Safe to call more than once.
void registerWebServiceSharers();
