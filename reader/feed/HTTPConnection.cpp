#include "reader/feed/HTTPConnection.h"

#include <cstdint>

#include "platform/base/Log.h"
#include "platform/base/Strings.h"
#include "platform/net/NetworkActivityIndicator.h"
#include "platform/net/UrlLoader.h"
#include "reader/feed/StorySummary.h"
#include "reader/model/Utilities.h"

namespace {

// Logs "<label><value>" only when logging is on, so parsing does not build lines for nothing.
void logValue(std::string_view label, std::string_view value) {
  if (!base::Log::enabled()) return;
  std::string line(label);
  line += value;
  base::log(line);
}

// Removes every `c` in place. Texts hold few of them, so whole runs between matches are moved
// at once instead of testing byte by byte.
void eraseAll(std::string& s, char c) {
  size_t hit = s.find(c);
  if (hit == std::string::npos) return;
  size_t out = hit;
  while (hit != std::string::npos) {
    size_t from = hit + 1;
    hit = s.find(c, from);
    size_t length = (hit == std::string::npos ? s.size() : hit) - from;
    std::char_traits<char>::move(s.data() + out, s.data() + from, length);
    out += length;
  }
  s.resize(out);
}

bool isBlank(char c) {
  // Space, \t, \n, \v, \f and \r, tested with one comparison for everything above the space.
  constexpr std::uint64_t kBlanks = (std::uint64_t{1} << ' ') | (std::uint64_t{1} << '\t') |
                                    (std::uint64_t{1} << '\n') | (std::uint64_t{1} << '\v') |
                                    (std::uint64_t{1} << '\f') | (std::uint64_t{1} << '\r');
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' && ((kBlanks >> byte) & 1) != 0;
}

// `s` without blanks (spaces, tabs, line and page breaks). Addresses hold few of them, so the
// runs between them are copied whole.
std::string withoutBlanks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t run = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!isBlank(s[i])) continue;
    out.append(s, run, i - run);
    run = i + 1;
  }
  out.append(s, run);
  return out;
}

// The elements the client acts on.
enum class Tag {
  kOther,
  kItem,
  kTitle,
  kLink,
  kDescription,
  kPubDate,
  kGuid,
  kThumbnail,
  kService,
  kSubService,
  kImg,
};

Tag tagOf(std::string_view name) {
  switch (name.size()) {
    case 3:
      if (name == "img") return Tag::kImg;
      break;
    case 4:
      if (name == "item") return Tag::kItem;
      if (name == "link") return Tag::kLink;
      if (name == "guid") return Tag::kGuid;
      break;
    case 5:
      if (name == "title") return Tag::kTitle;
      break;
    case 7:
      if (name == "pubDate") return Tag::kPubDate;
      if (name == "service") return Tag::kService;
      break;
    case 10:
      if (name == "subService") return Tag::kSubService;
      break;
    case 11:
      if (name == "description") return Tag::kDescription;
      break;
    case 15:
      if (name == "media:thumbnail") return Tag::kThumbnail;
      break;
    default:
      break;
  }
  return Tag::kOther;
}

}  // namespace

HTTPConnection::HTTPConnection(double timeoutSeconds) : timeout_(timeoutSeconds) {}

HTTPConnection::~HTTPConnection() {
  base::log("PARSER DEALLOC");
}

void HTTPConnection::startParsingWithURL(const std::string& address) {
  net::NetworkActivityIndicator::shared().setVisible(true);
  dataInArray.clear();
  downloadError_ = net::Error();
  parseError_.reset();
  logValue("REQUEST = ", address);

  // The loader keeps no cache, so there is no cache to switch off before loading.
  std::optional<net::Url> url = net::Url::parse(net::escapeAddress(address));
  if (!url) {
    downloadError_ = net::Error(net::Error::kDomain, net::Error::BadURL,
                                "Not a web address: \"" + address + "\"");
    return;
  }
  net::UrlRequest request(*url, net::UrlRequest::CachePolicy::ReloadIgnoringLocalCacheData,
                          timeout_);
  net::LoadResult result = net::UrlLoader::sendSynchronousRequest(request);
  if (base::Log::enabled())
    base::log(base::format("PACKET SIZE = %d bytes", static_cast<int>(result.body.size())));
  if (!result.error.ok()) {
    downloadError_ = result.error;
    return;
  }
  // An error page is not a document of the site: treat it like a failed download.
  int status = result.response.statusCode();
  if (status != 0 && (status < 200 || status > 299)) {
    downloadError_ =
        net::Error("http", status, "The server answered with status " + std::to_string(status));
    return;
  }
  if (result.body.empty()) {
    downloadError_ = net::Error("http", status, "The server sent an empty document");
    return;
  }
  parseData(std::move(result.body));
}

void HTTPConnection::parseData(std::string data) {
  xml::XmlParser rssParser(std::move(data));
  rssParser.setDelegate(this);
  rssParser.parse();
}

std::vector<FeedRecord> HTTPConnection::getDataInArray() {
  net::NetworkActivityIndicator::shared().setVisible(false);
  return dataInArray;
}

void HTTPConnection::didStartElement(xml::XmlParser&, std::string_view name,
                                     const xml::XmlAttributes& attributes) {
  if (base::Log::enabled()) base::log("start element");
  const Tag tag = tagOf(name);

  switch (tag) {
    case Tag::kItem:
      haveStoryBuffers_ = true;
      currTitle.clear();
      currLink.clear();
      currDescription.clear();
      currPubDate.clear();
      currGuid.clear();
      currImg.clear();
      break;
    case Tag::kThumbnail:
      currImg.assign(attributes.find("url").value_or(""));
      break;
    case Tag::kService:
      if (auto value = attributes.find("name")) currServiceName.assign(*value);
      if (auto value = attributes.find("link")) currServiceLink.assign(*value);
      currSubServiceArray.emplace();
      break;
    case Tag::kSubService: {
      auto sub = std::make_shared<SubService>();
      if (auto value = attributes.find("name")) sub->name.assign(*value);
      if (auto value = attributes.find("link")) sub->link.assign(*value);
      logValue("--- ", sub->name);
      // Outside an open category there is no list to join.
      if (currSubServiceArray) currSubServiceArray->push_back(std::move(sub));
      break;
    }
    case Tag::kImg:
      logValue("IMG = ", attributes.find("src").value_or(""));
      break;
    default:
      break;
  }

  // Character data goes to the buffer of the element that started last, until another starts.
  currentBuffer_ = nullptr;
  if (!haveStoryBuffers_) return;
  switch (tag) {
    case Tag::kTitle:
      currentBuffer_ = &currTitle;
      break;
    case Tag::kLink:
      currentBuffer_ = &currLink;
      break;
    case Tag::kDescription:
      currentBuffer_ = &currDescription;
      break;
    case Tag::kPubDate:
      currentBuffer_ = &currPubDate;
      break;
    case Tag::kGuid:
      currentBuffer_ = &currGuid;
      break;
    default:
      break;
  }
}

void HTTPConnection::foundCharacters(xml::XmlParser&, std::string_view text) {
  if (currentBuffer_) currentBuffer_->append(text);
}

void HTTPConnection::didEndElement(xml::XmlParser&, std::string_view name) {
  if (name == "item" && haveStoryBuffers_) {
    finishItem();
  } else if (name == "service") {
    finishService();
  }
}

void HTTPConnection::parseErrorOccurred(xml::XmlParser&, const xml::XmlParseError& error) {
  parseError_ = error;
}

void HTTPConnection::finishItem() {
  // The buffers are emptied when the next story starts, so they are cleaned in place and copied
  // out; they keep their capacity for the next story.
  auto item = std::make_shared<Item>();
  eraseAll(currTitle, '\n');
  item->title = currTitle;
  item->link = withoutBlanks(currLink);

  StorySummary summary = readStorySummary(currDescription);
  if (summary.pictureAddress) logValue("Img = ", *summary.pictureAddress);
  item->avatar = std::move(summary.pictureAddress);
  item->description = std::move(summary.text);
  currDescription.clear();

  eraseAll(currPubDate, '\n');
  item->pubDate = Utilities::convertTimeWithTime(currPubDate);
  item->guid = withoutBlanks(currGuid);
  item->imgLink = currImg;

  if (base::Log::enabled()) {
    logValue("TITLE = ", *item->title);
    logValue("LINK = ", *item->link);
    logValue("DESCRIPTION = ", *item->description);
    logValue("PUBDATE = ", *item->pubDate);
    logValue("GUID = ", *item->guid);
    logValue("img link = ", *item->imgLink);
    base::log("---------------------");
  }
  dataInArray.emplace_back(std::move(item));
}

void HTTPConnection::finishService() {
  auto service = std::make_shared<Service>();
  service->name = currServiceName;
  service->link = currServiceLink;
  if (currSubServiceArray) service->subService = std::move(*currSubServiceArray);
  currSubServiceArray.reset();
  dataInArray.emplace_back(std::move(service));
}
