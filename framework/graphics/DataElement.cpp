#include "framework/graphics/DataElement.h"

namespace Zing {

ListDataElement::ListDataElement(const ListDataElement& other) : DataElement(true) {
  elements.reserve(other.elements.size());
  for (const auto& e : other.elements) elements.push_back(e->Duplicate());
}

std::size_t ListDataElement::Count() const {
  std::size_t n = 1;
  for (const auto& e : elements) n += e->Count();
  return n;
}

}  // namespace Zing
