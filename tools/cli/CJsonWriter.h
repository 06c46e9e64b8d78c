#pragma once
// A compact JSON text built in order: objects, arrays, keys and values, commas placed by the
// writer. Strings go through CShownText::ForJson.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

class CJsonWriter {
public:
  CJsonWriter& BeginObject();
  CJsonWriter& EndObject();
  CJsonWriter& BeginArray();
  CJsonWriter& EndArray();
  CJsonWriter& Key(std::string_view key);
  CJsonWriter& String(std::string_view value);
  CJsonWriter& Int(std::int64_t value);
  CJsonWriter& Bool(bool value);
  CJsonWriter& Null();
  // A number already written as JSON number text.
  CJsonWriter& Raw(std::string_view numberText);

  // The text so far, with a line end when every object and array is closed.
  std::string Text() const;

private:
  void BeforeValue();

  std::string m_text;
  std::vector<bool> m_first;  // per open level: nothing written in it yet
  bool m_afterKey = false;
};

}  // namespace corvane::cli
