#include "reader/feed/StorySummary.h"

namespace {

constexpr std::string_view kPictureTagStart = "<img";
constexpr std::string_view kPictureSourceStart = "<img src=\"";
constexpr std::string_view kSelfClosingEnd = "/>";

bool isContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Characters (UTF-8 code points) in `text`.
size_t characterCount(std::string_view text) {
  size_t characters = 0;
  for (char byte : text) characters += isContinuationByte(byte) ? 0 : 1;
  return characters;
}

// Bytes taken by the first `characters` characters of `text` (all of it when it has fewer).
size_t bytesOfFirstCharacters(std::string_view text, size_t characters) {
  size_t position = 0;
  while (position < text.size()) {
    if (!isContinuationByte(text[position])) {
      if (characters == 0) return position;
      --characters;
    }
    ++position;
  }
  return text.size();
}

// Removes from `text`, in place, every occurrence of `pattern` found left to right as a
// replace-all finds them.
void removeAll(std::string& text, std::string_view pattern) {
  auto next = [&](size_t from) {
    return pattern.size() == 1 ? text.find(pattern.front(), from) : text.find(pattern, from);
  };
  size_t found = next(0);
  if (found == std::string::npos) return;
  // Kept runs move to the front; the search goes on past them, where nothing has moved.
  size_t kept = found;
  size_t position = found + pattern.size();
  while ((found = next(position)) != std::string::npos) {
    std::char_traits<char>::move(text.data() + kept, text.data() + position, found - position);
    kept += found - position;
    position = found + pattern.size();
  }
  std::char_traits<char>::move(text.data() + kept, text.data() + position, text.size() - position);
  text.resize(kept + text.size() - position);
}

bool isBlank(char character) {
  return character == ' ' || character == '\t' || character == '\n' || character == '\r';
}

char lowerAscii(char character) {
  return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                              : character;
}

// The first blank-separated word of `text` that contains "http".
std::optional<std::string> firstWordWithAddress(std::string_view text) {
  for (size_t start = 0; start <= text.size();) {
    size_t blank = text.find(' ', start);
    std::string_view word = text.substr(
        start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
    if (word.find("http") != std::string_view::npos) return std::string(word);
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  return std::nullopt;
}

// The value of the src attribute of a tag's text (between "<img" and ">"), quoted or not.
std::optional<std::string> sourceAttribute(std::string_view tag) {
  for (size_t position = 0; position + 3 <= tag.size(); ++position) {
    bool nameStarts = position == 0 || isBlank(tag[position - 1]);
    if (!nameStarts || lowerAscii(tag[position]) != 's' || lowerAscii(tag[position + 1]) != 'r' ||
        lowerAscii(tag[position + 2]) != 'c')
      continue;
    size_t cursor = position + 3;
    while (cursor < tag.size() && isBlank(tag[cursor])) ++cursor;
    if (cursor == tag.size() || tag[cursor] != '=') continue;
    ++cursor;
    while (cursor < tag.size() && isBlank(tag[cursor])) ++cursor;
    std::string_view value = tag.substr(cursor);
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
      const char quote = value.front();
      value.remove_prefix(1);
      value = value.substr(0, value.find(quote));
    } else {
      size_t end = 0;
      while (end < value.size() && !isBlank(value[end])) ++end;
      value = value.substr(0, end);
    }
    if (value.empty()) return std::nullopt;
    return std::string(value);
  }
  return std::nullopt;
}

// Length of the tag at the start of `text` when it closes a link ("</a>") or breaks a line
// ("<br>", "</br>", "<br/>", "<br />", any case); 0 otherwise.
size_t leftoverTagLength(std::string_view text) {
  if (text.empty() || text.front() != '<') return 0;
  size_t cursor = 1;
  bool closing = cursor < text.size() && text[cursor] == '/';
  if (closing) ++cursor;
  size_t nameStart = cursor;
  while (cursor < text.size() && lowerAscii(text[cursor]) >= 'a' && lowerAscii(text[cursor]) <= 'z')
    ++cursor;
  std::string name;
  for (char character : text.substr(nameStart, cursor - nameStart))
    name.push_back(lowerAscii(character));
  if (name != "br" && !(closing && name == "a")) return 0;
  while (cursor < text.size() && isBlank(text[cursor])) ++cursor;
  if (!closing && cursor < text.size() && text[cursor] == '/') ++cursor;
  if (cursor == text.size() || text[cursor] != '>') return 0;
  return cursor + 1;
}

// `text` without the link-closing and line-break tags (and the blanks before them) it starts
// with.
std::string_view withoutLeftoverTags(std::string_view text) {
  while (true) {
    size_t tagStart = 0;
    while (tagStart < text.size() && isBlank(text[tagStart])) ++tagStart;
    size_t tagLength = leftoverTagLength(text.substr(tagStart));
    if (tagLength == 0) return text;
    text.remove_prefix(tagStart + tagLength);
  }
}

StorySummary readClosedPictureTag(std::string_view feedSummary, std::string withoutTagStarts,
                                  size_t tagEnd) {
  // The picture's address is looked for in a cleaned copy of the summary, cut to as many
  // characters as precede the tag's end in the summary without "<img". That copy has lost more
  // than "<img", so the cut falls a little after the address (or past its end: then it stays
  // whole).
  std::string pictureText(feedSummary);
  removeAll(pictureText, "\n");
  removeAll(pictureText, kPictureSourceStart);
  removeAll(pictureText, "\"");
  const size_t charactersBeforeTagEnd =
      characterCount(std::string_view(withoutTagStarts).substr(0, tagEnd));
  pictureText.resize(bytesOfFirstCharacters(pictureText, charactersBeforeTagEnd));

  StorySummary story;
  story.pictureAddress = firstWordWithAddress(pictureText);
  std::string& text = withoutTagStarts;
  text.erase(0, tagEnd);
  removeAll(text, kSelfClosingEnd);
  removeAll(text, "\n");
  story.text = std::move(text);
  return story;
}

StorySummary readOpenPictureTag(std::string_view feedSummary) {
  size_t tagStart = feedSummary.find(kPictureTagStart);
  size_t tagEnd = feedSummary.find('>', tagStart);
  StorySummary story;
  if (tagEnd == std::string_view::npos) {
    story.text = feedSummary.substr(0, tagStart);
  } else {
    size_t attributesStart = tagStart + kPictureTagStart.size();
    story.pictureAddress =
        sourceAttribute(feedSummary.substr(attributesStart, tagEnd - attributesStart));
    story.text = withoutLeftoverTags(feedSummary.substr(tagEnd + 1));
  }
  removeAll(story.text, "\n");
  return story;
}

}  // namespace

StorySummary readStorySummary(std::string_view feedSummary) {
  if (feedSummary.find(kPictureTagStart) == std::string_view::npos)
    return {std::string(feedSummary), firstWordWithAddress(feedSummary)};
  std::string withoutTagStarts(feedSummary);
  removeAll(withoutTagStarts, kPictureTagStart);
  size_t tagEnd = withoutTagStarts.find(kSelfClosingEnd);
  if (tagEnd == std::string::npos) return readOpenPictureTag(feedSummary);
  return readClosedPictureTag(feedSummary, std::move(withoutTagStarts), tagEnd);
}
