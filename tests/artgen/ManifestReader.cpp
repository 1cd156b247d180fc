#include "tests/artgen/ManifestReader.h"

#include <cctype>

namespace ArtTest {

namespace {

struct Tag {
  enum Kind { Start, End, Text, Skip } kind = Skip;
  std::string name;
  std::map<std::string, std::string> attributes;
  bool empty = false;  // written as <Name ... />
};

class Lexer {
 public:
  explicit Lexer(const std::string& text) : s(text) {}

  // Next tag or text; false at the end or on a malformed tag (error set).
  bool Next(Tag& tag, std::string& error) {
    tag = Tag();
    while (pos < s.size() && std::isspace(static_cast<unsigned char>(s[pos]))) ++pos;
    if (pos >= s.size()) return false;
    if (s[pos] != '<') {
      const size_t end = s.find('<', pos);
      tag.kind = Tag::Text;
      tag.name = s.substr(pos, end - pos);
      pos = end;
      return true;
    }
    if (s.compare(pos, 4, "<!--") == 0) return SkipTo("-->", error);
    if (s.compare(pos, 2, "<?") == 0) return SkipTo("?>", error);
    const size_t close = s.find('>', pos);
    if (close == std::string::npos) return Fail(error, "unterminated tag");
    std::string body = s.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    if (!body.empty() && body[0] == '/') {
      tag.kind = Tag::End;
      tag.name = body.substr(1);
      return true;
    }
    tag.kind = Tag::Start;
    if (!body.empty() && body.back() == '/') {
      tag.empty = true;
      body.pop_back();
    }
    return ParseStart(body, tag, error);
  }

 private:
  bool SkipTo(const char* end, std::string& error) {
    const size_t at = s.find(end, pos);
    if (at == std::string::npos) return Fail(error, "unterminated comment or instruction");
    pos = at + std::string(end).size();
    return true;  // the tag stays a Skip
  }
  static bool Fail(std::string& error, const char* what) {
    error = what;
    return false;
  }
  static bool ParseStart(const std::string& body, Tag& tag, std::string& error) {
    size_t i = 0;
    while (i < body.size() && !std::isspace(static_cast<unsigned char>(body[i]))) tag.name += body[i++];
    while (i < body.size()) {
      while (i < body.size() && std::isspace(static_cast<unsigned char>(body[i]))) ++i;
      if (i >= body.size()) break;
      std::string name;
      while (i < body.size() && body[i] != '=' && !std::isspace(static_cast<unsigned char>(body[i]))) name += body[i++];
      if (i >= body.size() || body[i] != '=' || i + 1 >= body.size() || body[i + 1] != '"') {
        return Fail(error, "attribute without a quoted value");
      }
      const size_t end = body.find('"', i + 2);
      if (end == std::string::npos) return Fail(error, "unterminated attribute value");
      tag.attributes[name] = body.substr(i + 2, end - i - 2);
      i = end + 1;
    }
    return true;
  }

  const std::string& s;
  size_t pos = 0;
};

// Reads the next tag that is not a comment or instruction.
bool NextTag(Lexer& lexer, Tag& tag, std::string& error) {
  while (lexer.Next(tag, error)) {
    if (tag.kind != Tag::Skip) return true;
  }
  return false;
}

std::string FileStem(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TrimSeparator(std::string v) {
  if (!v.empty() && (v.back() == '/' || v.back() == '\\')) v.pop_back();
  return v;
}

}  // namespace

Manifest ReadManifest(const std::string& text) {
  Manifest m;
  Lexer lexer(text);
  Tag tag;
  std::string defaultPath, defaultPrefix;
  auto fail = [&](const std::string& e) {
    if (m.error.empty()) m.error = e;
    return m;
  };
  if (!NextTag(lexer, tag, m.error) || tag.kind != Tag::Start || tag.name != "ResourceManifest") {
    return fail("Expecting ResourceManifest tag");
  }
  while (NextTag(lexer, tag, m.error)) {
    if (tag.kind == Tag::End && tag.name == "ResourceManifest") return m;
    if (tag.kind == Tag::Text) return fail("Element Not Expected '" + tag.name + "'");
    if (tag.kind != Tag::Start || tag.name != "Resources") return fail("Invalid Section '" + tag.name + "'");
    if (!tag.attributes.count("id")) return fail("No id specified.");
    const std::string group = tag.attributes["id"];
    while (true) {
      if (!NextTag(lexer, tag, m.error)) return fail("unexpected end inside a Resources block");
      if (tag.kind == Tag::End && tag.name == "Resources") break;
      if (tag.kind == Tag::Text) return fail("Element Not Expected '" + tag.name + "'");
      if (tag.kind != Tag::Start ||
          (tag.name != "Image" && tag.name != "Sound" && tag.name != "Font" && tag.name != "SetDefaults")) {
        return fail("Invalid Section '" + tag.name + "'");
      }
      if (!tag.empty) return fail("Unexpected element found.");
      if (tag.name == "SetDefaults") {
        if (tag.attributes.count("path")) defaultPath = TrimSeparator(tag.attributes["path"]) + "/";
        if (tag.attributes.count("idprefix")) defaultPrefix = TrimSeparator(tag.attributes["idprefix"]);
        continue;
      }
      if (!tag.attributes.count("path")) return fail("No path specified.");
      Declaration d;
      d.kind = tag.name;
      d.group = group;
      const std::string path = tag.attributes["path"];
      d.path = !path.empty() && path[0] == '!' ? path : defaultPath + path;
      d.id = defaultPrefix + (tag.attributes.count("id") ? tag.attributes["id"] : FileStem(path));
      d.attributes = tag.attributes;
      for (const auto& other : m.declarations) {
        if (other.kind == d.kind && other.id == d.id) return fail("Resource already defined.");
      }
      m.declarations.push_back(d);
    }
  }
  return fail(m.error.empty() ? "unexpected end of the manifest" : m.error);
}

}  // namespace ArtTest
