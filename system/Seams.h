#pragma once
// A call that tests may replace for the length of a scope: opening a help window, a web page or a system
// dialog would leave the program. The real call is the default and comes back when the override ends.
#include <utility>

template <class Call>
class TReplaceable {
public:
  explicit TReplaceable(Call real) : FCall(std::move(real)) {}
  TReplaceable(const TReplaceable&) = delete;
  TReplaceable& operator=(const TReplaceable&) = delete;

  template <class... Args>
  decltype(auto) operator()(Args&&... args) const {
    return FCall(std::forward<Args>(args)...);
  }

private:
  template <class>
  friend class TScopedReplacement;
  Call FCall;
};

template <class Call>
class TScopedReplacement {
public:
  TScopedReplacement(TReplaceable<Call>& target, Call replacement)
      : FTarget(target), FSaved(std::exchange(target.FCall, std::move(replacement))) {}
  ~TScopedReplacement() { FTarget.FCall = std::move(FSaved); }
  TScopedReplacement(const TScopedReplacement&) = delete;
  TScopedReplacement& operator=(const TScopedReplacement&) = delete;

private:
  TReplaceable<Call>& FTarget;
  Call FSaved;
};
