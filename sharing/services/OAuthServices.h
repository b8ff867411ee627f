#pragma once

// Makes the services that log in with OAuth (Twitter, Delicious) known by their class names.
void registerOAuthServices();
