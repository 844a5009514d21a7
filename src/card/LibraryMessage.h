#pragma once
// Why the card library opened no card, when the library can say so. It is an optional export
// ("ZORIX7GetLibraryMessage", a NUL-terminated UTF-8 text or null): the virtual cards name the
// bench file, line and problem; a driver without it simply gives no reason.
#include <dlfcn.h>

#include <string>

inline std::string CardLibraryMessage() {
  using Fn = const char* (*)();
  auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "ZORIX7GetLibraryMessage"));
  const char* text = fn ? fn() : nullptr;
  return text ? std::string(text) : std::string();
}
