#pragma once
// Why the card library opened no card, when the library can say so. It is an optional export
// ("ZORIX7GetLibraryMessage", a NUL-terminated UTF-8 text or null): the virtual cards name the
// bench file, line and problem; a driver without it simply gives no reason.
#include <dlfcn.h>

#include <cstdint>
#include <string>

inline std::string CardLibraryMessage() {
  using Fn = const char* (*)();
  auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "ZORIX7GetLibraryMessage"));
  const char* text = fn ? fn() : nullptr;
  return text ? std::string(text) : std::string();
}

// What an error word means, when the library can say so: the optional export
// "ZORIX7GetErrorText" (the word in, a NUL-terminated UTF-8 text or null out).
inline std::string CardErrorMeaning(uint32_t word) {
  using Fn = const char* (*)(uint32_t);
  auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "ZORIX7GetErrorText"));
  const char* text = fn ? fn(word) : nullptr;
  return text ? std::string(text) : std::string();
}
