#pragma once
// Event handlers that stored layouts name: each form hands its own by name to the builder.
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

template <class Event>
using THandlerMap = std::map<std::string, Event, std::less<>>;

// The handler of that name; a layout that names a missing handler is a fault of the program.
template <class Event>
const Event& Handler(const THandlerMap<Event>& handlers, std::string_view name) {
  const auto found = handlers.find(name);
  if (found == handlers.end()) throw std::logic_error("no handler " + std::string(name));
  return found->second;
}
