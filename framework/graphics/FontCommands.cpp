// The commands of the font descriptor language. Each takes its parameters
// after the command name; names, layer names and define names are compared
// upper-cased. Commands that pair two lists apply every usable pair and
// report the unusable ones at the end.

#include <algorithm>
#include <cctype>
#include <functional>
#include <limits>
#include <string_view>

#include "framework/graphics/FontData.h"
#include "framework/graphics/FontHost.h"
#include "framework/graphics/MemoryImage.h"

namespace Zing {

namespace {

constexpr char kBadType[] = "Invalid Paramater Type";
constexpr std::size_t kRectInts = 4;
constexpr std::size_t kPointInts = 2;

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

using Params = std::vector<std::unique_ptr<DataElement>>;

}  // namespace

// The command table and the handlers; a friend of FontData.
class FontCommands {
 public:
  using Handler = bool (*)(FontData&, const Params&);
  struct Command {
    std::string_view name;
    std::size_t params;
    Handler handler;
  };
  static const Command kCommands[];

  static bool Layer(FontData& f, const DataElement& e, FontLayer*& out) {
    std::string name;
    if (!f.GetTextParam(e, name)) return f.Error(kBadType);
    out = f.FindLayer(name);
    return out ? true : f.Error("Undefined Layer");
  }
  static bool Int(FontData& f, const DataElement& e, int& out) {
    return f.GetIntParam(e, out) ? true : f.Error(kBadType);
  }
  static bool List(FontData& f, const DataElement& e, ListDataElement& out) {
    return f.GetListParam(e, out) ? true : f.Error(kBadType);
  }
  // A list item of exactly `n` integers.
  static bool Ints(const DataElement& item, std::size_t n, int* out) {
    if (!item.isList) return false;
    const auto& list = static_cast<const ListDataElement&>(item).elements;
    if (list.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i)
      if (!DescParser::ItemInt(*list[i], out[i])) return false;
    return true;
  }
  // Whether the rectangle x, y, w, h lies inside `bounds` (at the origin).
  static bool Inside(const int* r, const Rect& bounds) {
    return r[0] >= 0 && r[1] >= 0 && r[2] >= 0 && r[3] >= 0 &&
           static_cast<long long>(r[0]) + r[2] <= bounds.w && static_cast<long long>(r[1]) + r[3] <= bounds.h;
  }
  static bool Char(const DataElement& item, unsigned char& out) {
    const std::string* text = DescParser::ItemText(item);
    if (!text || text->size() != 1) return false;
    out = static_cast<unsigned char>((*text)[0]);
    return true;
  }

  // Two lists of equal length, applied pair by pair; `apply` answers false for
  // an unusable pair, which fails the command once all pairs were tried.
  static bool Pairs(FontData& f, const DataElement& a, const DataElement& b,
                    const std::function<bool(const DataElement&, const DataElement&)>& apply) {
    ListDataElement first, second;
    if (!List(f, a, first) || !List(f, b, second)) return false;
    if (first.elements.size() != second.elements.size()) return f.Error("List Size Mismatch");
    bool ok = true;
    for (std::size_t i = 0; i < first.elements.size(); ++i) ok = apply(*first.elements[i], *second.elements[i]) && ok;
    return ok ? true : f.Error(kBadType);
  }
  // A layer and, per character, one value of the second list.
  static bool CharPairs(FontData& f, const Params& p,
                        const std::function<bool(FontLayer&, unsigned char, const DataElement&)>& apply) {
    FontLayer* layer = nullptr;
    if (!Layer(f, *p[1], layer)) return false;
    return Pairs(f, *p[2], *p[3], [&](const DataElement& c, const DataElement& v) {
      unsigned char ch = 0;
      return Char(c, ch) && apply(*layer, ch, v);
    });
  }
  // A layer and one integer for one of its fields.
  static bool LayerInt(FontData& f, const Params& p, int FontLayer::*field) {
    FontLayer* layer = nullptr;
    int value = 0;
    if (!Layer(f, *p[1], layer) || !Int(f, *p[2], value)) return false;
    layer->*field = value;
    return true;
  }
  static bool LayerColor(FontData& f, const Params& p, Color FontLayer::*field) {
    FontLayer* layer = nullptr;
    Color color;
    if (!Layer(f, *p[1], layer)) return false;
    if (!f.GetColorParam(*p[2], color)) return f.Error(kBadType);
    layer->*field = color;
    return true;
  }
  static bool LayerTags(FontData& f, const Params& p, std::vector<std::string> FontLayer::*field) {
    FontLayer* layer = nullptr;
    ListDataElement tags;
    if (!Layer(f, *p[1], layer) || !List(f, *p[2], tags)) return false;
    for (const auto& tag : tags.elements) {
      const std::string* text = DescParser::ItemText(*tag);
      if (!text) return f.Error(kBadType);
      (layer->*field).push_back(Upper(*text));
    }
    return true;
  }
  static bool NewLayer(FontData& f, const DataElement& nameElement, const FontLayer* source) {
    std::string name;
    if (!f.GetTextParam(nameElement, name)) return f.Error(kBadType);
    name = Upper(name);
    if (f.fontLayerMap.count(name)) return f.Error("Layer Already Exists");
    auto layer = source ? std::make_unique<FontLayer>(*source) : std::make_unique<FontLayer>(&f);
    f.fontLayerMap[name] = layer.get();
    f.fontLayerList.push_back(std::move(layer));
    return true;
  }

  static bool Define(FontData& f, const Params& p) {
    const std::string* name = DescParser::ItemText(*p[1]);
    if (!name || DescParser::IsImmediate(*name)) return f.Error(kBadType);
    if (p[2]->isList) {
      auto list = std::make_unique<ListDataElement>();
      return f.DataToList(*p[2], *list) && f.SetDefine(*name, std::move(list));
    }
    const std::string& text = *DescParser::ItemText(*p[2]);
    const DataElement* existing = DescParser::IsImmediate(text) ? nullptr : f.GetDefine(text);
    return f.SetDefine(*name, existing ? existing->Duplicate() : p[2]->Duplicate());
  }
  static bool CreateHorzSpanRectList(FontData& f, const Params& p) {
    const std::string* name = DescParser::ItemText(*p[1]);
    ListDataElement rectList, widths;
    int rect[kRectInts];
    if (!name || DescParser::IsImmediate(*name)) return f.Error(kBadType);
    if (!List(f, *p[2], rectList) || !Ints(rectList, kRectInts, rect) || !List(f, *p[3], widths))
      return f.Error(kBadType);
    auto out = std::make_unique<ListDataElement>();
    long long x = rect[0];
    for (const auto& item : widths.elements) {
      int w = 0;
      if (!DescParser::ItemInt(*item, w) || x > std::numeric_limits<int>::max() || x < std::numeric_limits<int>::min())
        return f.Error(kBadType);
      auto r = std::make_unique<ListDataElement>();
      for (long long v : {x, static_cast<long long>(rect[1]), static_cast<long long>(w), static_cast<long long>(rect[3])})
        r->elements.push_back(std::make_unique<SingleDataElement>(std::to_string(v)));
      out->elements.push_back(std::move(r));
      x += w;
    }
    return f.SetDefine(*name, std::move(out));
  }
  static bool SetDefaultPointSize(FontData& f, const Params& p) { return Int(f, *p[1], f.defaultPointSize); }
  static bool SetCharMap(FontData& f, const Params& p) {
    return Pairs(f, *p[1], *p[2], [&](const DataElement& a, const DataElement& b) {
      unsigned char from = 0, to = 0;
      if (!Char(a, from) || !Char(b, to)) return false;
      f.charMap[from] = to;
      return true;
    });
  }
  static bool CreateLayer(FontData& f, const Params& p) { return NewLayer(f, *p[1], nullptr); }
  static bool CreateLayerFrom(FontData& f, const Params& p) {
    FontLayer* source = nullptr;
    return Layer(f, *p[2], source) && NewLayer(f, *p[1], source);
  }
  static bool LayerRequireTags(FontData& f, const Params& p) { return LayerTags(f, p, &FontLayer::requiredTags); }
  static bool LayerExcludeTags(FontData& f, const Params& p) { return LayerTags(f, p, &FontLayer::excludedTags); }
  static bool LayerPointRange(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    int low = 0, high = 0;
    if (!Layer(f, *p[1], layer) || !Int(f, *p[2], low) || !Int(f, *p[3], high)) return false;
    layer->minPointSize = low;
    layer->maxPointSize = high;
    return true;
  }
  static bool LayerSetImage(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    std::string file;
    if (!Layer(f, *p[1], layer)) return false;
    if (!f.GetTextParam(*p[2], file)) return f.Error(kBadType);
    const std::size_t slash = f.sourceFile.find_last_of("/\\");
    const std::string path = (slash == std::string::npos ? std::string() : f.sourceFile.substr(0, slash + 1)) + file;
    bool isNew = false;
    std::shared_ptr<MemoryImage> image = f.host ? f.host->GetFontImage(path, isNew) : nullptr;
    if (!image) return f.Error("Failed to Load Image");
    if (isNew) image->Palletize();
    layer->image = std::move(image);
    return true;
  }
  static bool LayerSetDrawMode(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    int mode = 0;
    if (!Layer(f, *p[1], layer) || !Int(f, *p[2], mode)) return false;
    if (mode != Image::kDrawModeNormal && mode != Image::kDrawModeAdditive) return f.Error(kBadType);
    layer->drawMode = mode;
    return true;
  }
  static bool LayerSetOffset(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    ListDataElement list;
    int xy[kPointInts];
    if (!Layer(f, *p[1], layer) || !List(f, *p[2], list)) return false;
    if (!Ints(list, kPointInts, xy)) return f.Error(kBadType);
    layer->offsetX = xy[0];
    layer->offsetY = xy[1];
    return true;
  }
  static bool LayerSetCharWidths(FontData& f, const Params& p) {
    return CharPairs(f, p, [](FontLayer& l, unsigned char c, const DataElement& v) {
      return DescParser::ItemInt(v, l.charData[c].width);
    });
  }
  static bool LayerSetCharOrders(FontData& f, const Params& p) {
    return CharPairs(f, p, [](FontLayer& l, unsigned char c, const DataElement& v) {
      return DescParser::ItemInt(v, l.charData[c].order);
    });
  }
  static bool LayerSetCharOffsets(FontData& f, const Params& p) {
    return CharPairs(f, p, [](FontLayer& l, unsigned char c, const DataElement& v) {
      int xy[kPointInts];
      if (!Ints(v, kPointInts, xy)) return false;
      l.charData[c].offsetX = xy[0];
      l.charData[c].offsetY = xy[1];
      return true;
    });
  }
  static bool LayerSetImageMap(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    if (!Layer(f, *p[1], layer)) return false;
    if (!layer->image) return f.Error("Layer image not set");
    const Rect bounds(0, 0, layer->image->GetWidth(), layer->image->GetHeight());
    bool outside = false;
    const bool ok = CharPairs(f, p, [&](FontLayer& l, unsigned char c, const DataElement& v) {
      int r[kRectInts];
      if (!Ints(v, kRectInts, r)) return false;
      if (!Inside(r, bounds)) return !(outside = true);
      l.charData[c].imageRect = Rect(r[0], r[1], r[2], r[3]);
      return true;
    });
    if (outside) {
      f.error.clear();
      return f.Error("Image rectangle out of bounds");
    }
    int height = 0;
    for (const CharData& c : layer->charData) height = std::max(height, c.imageRect.h + c.offsetY);
    layer->defaultHeight = height;
    return ok;
  }
  static bool LayerSetKerningPairs(FontData& f, const Params& p) {
    FontLayer* layer = nullptr;
    if (!Layer(f, *p[1], layer)) return false;
    return Pairs(f, *p[2], *p[3], [&](const DataElement& a, const DataElement& b) {
      const std::string* pair = DescParser::ItemText(a);
      int offset = 0;
      if (!pair || pair->size() != 2 || !DescParser::ItemInt(b, offset)) return false;
      const auto first = static_cast<unsigned char>((*pair)[0]);
      const auto second = static_cast<unsigned char>((*pair)[1]);
      layer->charData[first].kerningOffsets[second] = static_cast<std::int8_t>(offset);
      return true;
    });
  }
};

const FontCommands::Command FontCommands::kCommands[] = {
    {"Define", 2, Define},
    {"CreateHorzSpanRectList", 3, CreateHorzSpanRectList},
    {"SetDefaultPointSize", 1, SetDefaultPointSize},
    {"SetCharMap", 2, SetCharMap},
    {"CreateLayer", 1, CreateLayer},
    {"CreateLayerFrom", 2, CreateLayerFrom},
    {"LayerRequireTags", 2, LayerRequireTags},
    {"LayerExcludeTags", 2, LayerExcludeTags},
    {"LayerPointRange", 3, LayerPointRange},
    {"LayerSetPointSize", 2, [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::pointSize); }},
    {"LayerSetHeight", 2, [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::height); }},
    {"LayerSetImage", 2, LayerSetImage},
    {"LayerSetDrawMode", 2, LayerSetDrawMode},
    {"LayerSetColorMult", 2, [](FontData& f, const Params& p) { return LayerColor(f, p, &FontLayer::colorMult); }},
    {"LayerSetColorAdd", 2, [](FontData& f, const Params& p) { return LayerColor(f, p, &FontLayer::colorAdd); }},
    {"LayerSetAscent", 2, [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::ascent); }},
    {"LayerSetAscentPadding", 2,
     [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::ascentPadding); }},
    {"LayerSetLineSpacingOffset", 2,
     [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::lineSpacingOffset); }},
    {"LayerSetOffset", 2, LayerSetOffset},
    {"LayerSetCharWidths", 3, LayerSetCharWidths},
    {"LayerSetSpacing", 2, [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::spacing); }},
    {"LayerSetImageMap", 3, LayerSetImageMap},
    {"LayerSetCharOffsets", 3, LayerSetCharOffsets},
    {"LayerSetKerningPairs", 3, LayerSetKerningPairs},
    {"LayerSetBaseOrder", 2, [](FontData& f, const Params& p) { return LayerInt(f, p, &FontLayer::baseOrder); }},
    {"LayerSetCharOrders", 3, LayerSetCharOrders},
};

bool FontData::HandleCommand(const ListDataElement& params) {
  const std::string& name = static_cast<const SingleDataElement&>(*params.elements.front()).string;
  for (const FontCommands::Command& command : FontCommands::kCommands) {
    if (command.name != name) continue;
    if (params.elements.size() != command.params + 1) return Error("Invalid Number of Parameters");
    return command.handler(*this, params.elements);
  }
  return Error("Unknown Command");
}

}  // namespace Zing
