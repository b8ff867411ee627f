#pragma once
#include <string>

#include "facebook/FBValue.h"

// Why a REST call failed. A transfer failure keeps the loader's domain and code, an answer that
// is not well-formed XML has the domain "xml", and an error answer of the API has the API's host
// name as domain, its error_code as code and its error_msg as description.
struct FBError {
  std::string domain;
  long code = 0;
  std::string description;
  // The "request_args" of an error answer (null otherwise).
  FBValue requestArgs;
};
