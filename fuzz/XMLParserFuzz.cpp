// Feeds arbitrary bytes to the XML reader. The first byte chooses the decoder
// (or detection by byte-order mark) and whether comments are returned; the
// rest is the file. The reader must end with a known error text or cleanly.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/resource/XMLParser.h"
#include "fuzz/FuzzInputFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const ZingFuzz::InputFile& Input() {
  static const ZingFuzz::InputFile file(".xml");
  return file;
}

bool KnownError(const std::string& text) {
  return text == "Illegal Character" || text == "Unexpected '<'" || text == "Unexpected '>'" ||
         text == "Unexpected End" || text == "Unexpected End of File" ||
         (text.rfind("End '", 0) == 0 && text.find("' Doesn't Match Start '") != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Zing::XMLParser parser;
  switch (data[0] & 3) {
    case 1:
      parser.ForceEncoding(Zing::XMLEncoding::SingleByte);
      break;
    case 2:
      parser.ForceEncoding(Zing::XMLEncoding::Utf8);
      break;
    case 3:
      parser.ForceEncoding(Zing::XMLEncoding::Utf16);
      break;
    default:
      break;
  }
  parser.SetReturnComments((data[0] & 4) != 0);
  Check(parser.OpenFile(Input().Write(data + 1, size - 1)));

  Zing::XMLElement element;
  std::size_t elements = 0;
  while (parser.NextElement(element)) {
    Check(element.type != Zing::XMLElement::None);
    Check(element.attributeOrder.size() <= size);
    Check(++elements <= size + 1);
  }
  if (parser.HasFailed()) Check(KnownError(parser.GetErrorText()));
  Check(parser.GetCurrentLineNum() >= 1);
  Check(!parser.NextElement(element));
  return 0;
}
