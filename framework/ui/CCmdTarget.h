#pragma once
// A receiver of routed commands. OnCmdMsg with a null CCmdUI runs the command; with one it
// asks for the command's state. Either way it returns whether this target handled it.
#include <functional>
#include <vector>

namespace corvane {

class CCmdUI;

class CCmdTarget {
public:
  CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;
  virtual ~CCmdTarget() = default;

  // A target with a command handler but no update handler answers "enabled".
  virtual bool OnCmdMsg(unsigned nID, CCmdUI* pCmdUI);

protected:
  // The message map: bind ids (or id ranges, inclusive) to handlers.
  void MapCommand(unsigned nID, std::function<void()> handler);
  void MapCommandRange(unsigned nFirst, unsigned nLast, std::function<void(unsigned)> handler);
  void MapUpdate(unsigned nID, std::function<void(CCmdUI*)> handler);
  void MapUpdateRange(unsigned nFirst, unsigned nLast, std::function<void(CCmdUI*)> handler);

private:
  struct CommandEntry { unsigned first, last; std::function<void(unsigned)> fn; };
  struct UpdateEntry { unsigned first, last; std::function<void(CCmdUI*)> fn; };
  std::vector<CommandEntry> m_commands;
  std::vector<UpdateEntry> m_updates;
};

}  // namespace corvane
