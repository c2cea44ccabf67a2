#include "pdf/class_registry.h"

#include <algorithm>

namespace {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool TClassRegistry::TCaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

void TClassRegistry::RegisterClassAlias(const TVPersistentClass& cls, std::string_view alias) {
  PdfRequire(cls.Create != nullptr, "A registered class needs a constructor.");
  const std::lock_guard hold(FLock);
  const auto found = FClasses.find(alias);
  if (found == FClasses.end()) {
    FClasses.emplace(std::string(alias), cls);
    return;
  }
  if (found->second == cls) return;
  throw EPdfError("A class named " + std::string(alias) + " already exists");
}

void TClassRegistry::UnRegisterClassAlias(std::string_view alias) {
  const std::lock_guard hold(FLock);
  const auto found = FClasses.find(alias);
  if (found != FClasses.end()) FClasses.erase(found);
}

std::optional<TVPersistentClass> TClassRegistry::GetClass(std::string_view alias) const {
  const std::lock_guard hold(FLock);
  const auto found = FClasses.find(alias);
  if (found == FClasses.end()) return std::nullopt;
  return found->second;
}

TVPersistentClass TClassRegistry::FindClass(std::string_view alias) const {
  const std::optional<TVPersistentClass> cls = GetClass(alias);
  if (!cls) throw EPdfError("Class " + std::string(alias) + " not found");
  return *cls;
}

TClassRegistry& ClassRegistry() {
  static TClassRegistry registry;
  return registry;
}
