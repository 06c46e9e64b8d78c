#pragma once
// What the load asks of its caller for each record: the catalogue lookup, then the
// hand-over of a validated record (serialize area, open the module, send the load command).
#include <cstdint>
#include <span>
#include <string>

namespace corvane {

class IProjectVisitor {
public:
  virtual ~IProjectVisitor() = default;
  // The catalogue's module name for a code; empty when the code is not in the catalogue.
  virtual std::string ModuleNameFor(const std::string& code) = 0;
  // A record that passed validation; data holds exactly L bytes (L may be 0).
  virtual void OnRecord(const std::string& code, const std::string& name,
                        std::span<const std::uint8_t> data) = 0;
};

}  // namespace corvane
