#include "platform/xml/XmlParser.h"

#include <expat.h>
#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace xml {
namespace {

// Character-set names reach iconv_open from the document; allow only plain names.
bool isPlainCharsetName(const char* name) {
  size_t length = std::strlen(name);
  if (length == 0 || length > 40) return false;
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (!(std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == ':')) return false;
  }
  return true;
}

// Builds expat's byte-to-code-point table for a single-byte character set with iconv. Character
// sets in which some byte starts a longer sequence are refused (expat then reports the document's
// encoding as unknown).
int onUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  if (!isPlainCharsetName(name)) return XML_STATUS_ERROR;
  iconv_t cd = iconv_open("UTF-32LE", name);
  if (cd == reinterpret_cast<iconv_t>(-1)) return XML_STATUS_ERROR;
  bool singleByte = true;
  for (int b = 0; b < 256 && singleByte; ++b) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char in = static_cast<char>(b);
    char* inPtr = &in;
    size_t inLeft = 1;
    unsigned char out[16];
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      if (errno == EINVAL) singleByte = false;  // a lead byte: not a single-byte set
      info->map[b] = -1;
      continue;
    }
    // Some converters (windows-1258) hold a base letter back to combine it: flush it out.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    size_t produced = sizeof out - outLeft;
    if (produced != 4) {
      info->map[b] = -1;
      continue;
    }
    std::uint32_t code = out[0] | (out[1] << 8) | (out[2] << 16) | (std::uint32_t(out[3]) << 24);
    info->map[b] = code > 0x10FFFF ? -1 : static_cast<int>(code);
  }
  iconv_close(cd);
  if (!singleByte) return XML_STATUS_ERROR;
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

struct ParserDeleter {
  void operator()(XML_ParserStruct* p) const { XML_ParserFree(p); }
};

}  // namespace

// Expat callbacks reach the parser through the user data pointer.
struct XmlParserCallbacks {
  static void start(void* user, const XML_Char* name, const XML_Char** atts) {
    auto* self = static_cast<XmlParser*>(user);
    if (self->delegate_) self->delegate_->didStartElement(*self, name, XmlAttributes(atts));
  }
  static void end(void* user, const XML_Char* name) {
    auto* self = static_cast<XmlParser*>(user);
    if (self->delegate_) self->delegate_->didEndElement(*self, name);
  }
  static void characters(void* user, const XML_Char* text, int length) {
    auto* self = static_cast<XmlParser*>(user);
    if (self->delegate_)
      self->delegate_->foundCharacters(*self, std::string_view(text, static_cast<size_t>(length)));
  }
};

XmlParser::XmlParser(std::string data) : data_(std::move(data)) {}

bool XmlParser::parse() {
  if (parsed_) return !error_;
  parsed_ = true;
  std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
  if (!parser) {
    error_ = XmlParseError{XML_ERROR_NO_MEMORY, 0, 0, XML_ErrorString(XML_ERROR_NO_MEMORY)};
    if (delegate_) delegate_->parseErrorOccurred(*this, *error_);
    return false;
  }
  XML_Parser p = parser.get();
  XML_SetUserData(p, this);
  XML_SetElementHandler(p, XmlParserCallbacks::start, XmlParserCallbacks::end);
  XML_SetCharacterDataHandler(p, XmlParserCallbacks::characters);
  XML_SetUnknownEncodingHandler(p, onUnknownEncoding, nullptr);
  XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);

  // Feed in pieces that fit expat's int length.
  constexpr size_t kChunk = size_t{1} << 30;
  size_t offset = 0;
  XML_Status status = XML_STATUS_OK;
  do {
    size_t length = std::min(kChunk, data_.size() - offset);
    bool last = offset + length == data_.size();
    status = XML_Parse(p, data_.data() + offset, static_cast<int>(length), last);
    offset += length;
  } while (status == XML_STATUS_OK && offset < data_.size());

  if (status != XML_STATUS_OK) {
    XML_Error code = XML_GetErrorCode(p);
    error_ = XmlParseError{code, XML_GetCurrentLineNumber(p), XML_GetCurrentColumnNumber(p) + 1,
                           XML_ErrorString(code)};
    if (delegate_) delegate_->parseErrorOccurred(*this, *error_);
    return false;
  }
  return true;
}

}  // namespace xml
