#include "tools/cli/CJsonWriter.h"

#include "tools/cli/CShownText.h"

namespace corvane::cli {

void CJsonWriter::BeforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (!m_first.empty()) {
    if (!m_first.back()) m_text += ',';
    m_first.back() = false;
  }
}

CJsonWriter& CJsonWriter::BeginObject() {
  BeforeValue();
  m_text += '{';
  m_first.push_back(true);
  return *this;
}

CJsonWriter& CJsonWriter::EndObject() {
  m_text += '}';
  if (!m_first.empty()) m_first.pop_back();
  return *this;
}

CJsonWriter& CJsonWriter::BeginArray() {
  BeforeValue();
  m_text += '[';
  m_first.push_back(true);
  return *this;
}

CJsonWriter& CJsonWriter::EndArray() {
  m_text += ']';
  if (!m_first.empty()) m_first.pop_back();
  return *this;
}

CJsonWriter& CJsonWriter::Key(std::string_view key) {
  BeforeValue();
  m_text += '"' + CShownText::ForJson(key) + "\":";
  m_afterKey = true;
  return *this;
}

CJsonWriter& CJsonWriter::String(std::string_view value) {
  BeforeValue();
  m_text += '"' + CShownText::ForJson(value) + '"';
  return *this;
}

CJsonWriter& CJsonWriter::Int(std::int64_t value) { return Raw(std::to_string(value)); }

CJsonWriter& CJsonWriter::Bool(bool value) { return Raw(value ? "true" : "false"); }

CJsonWriter& CJsonWriter::Null() { return Raw("null"); }

CJsonWriter& CJsonWriter::Raw(std::string_view numberText) {
  BeforeValue();
  m_text += numberText;
  return *this;
}

std::string CJsonWriter::Text() const { return m_first.empty() ? m_text + "\n" : m_text; }

}  // namespace corvane::cli
