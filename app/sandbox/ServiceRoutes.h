#pragma once

class ServiceSandbox;

// Each share service's endpoints in the sandbox, one function per service.
void addTwitterRoutes(ServiceSandbox& sandbox);
void addDeliciousRoutes(ServiceSandbox& sandbox);
void addFacebookRoutes(ServiceSandbox& sandbox);
