#pragma once

// The values of the font descriptor language: a single text or a list of
// values. Lists own their items; `Duplicate` copies deeply.

#include <memory>
#include <string>
#include <vector>

namespace Zing {

class DataElement {
 public:
  explicit DataElement(bool list) : isList(list) {}
  DataElement(const DataElement&) = default;
  DataElement& operator=(const DataElement&) = delete;
  virtual ~DataElement() = default;
  virtual std::unique_ptr<DataElement> Duplicate() const = 0;
  // This element and everything inside it, counted one per element.
  virtual std::size_t Count() const { return 1; }

  const bool isList;
};

class SingleDataElement : public DataElement {
 public:
  explicit SingleDataElement(std::string text = {}) : DataElement(false), string(std::move(text)) {}
  std::unique_ptr<DataElement> Duplicate() const override { return std::make_unique<SingleDataElement>(string); }

  std::string string;
};

class ListDataElement : public DataElement {
 public:
  ListDataElement() : DataElement(true) {}
  ListDataElement(const ListDataElement& other);
  std::unique_ptr<DataElement> Duplicate() const override { return std::make_unique<ListDataElement>(*this); }
  std::size_t Count() const override;

  std::vector<std::unique_ptr<DataElement>> elements;
};

}  // namespace Zing
