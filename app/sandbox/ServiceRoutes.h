#pragma once

class ServiceSandbox;

// Each share service's endpoints in the sandbox, one function per service.
void addFacebookRoutes(ServiceSandbox& sandbox);
