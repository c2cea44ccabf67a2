#pragma once
// The process-wide registry of classes by alias name: a caller that knows only
// a name (say "VPDFBitmap") can create an instance of the class entered under
// it. Classes are entered explicitly by their library's registration function
// (see RegisterPdfImageBuilders); nothing registers itself from a static
// initialiser, whose order across translation units is unspecified and which
// the linker drops from a static library when nothing else references it.
//
// Alias lookup ignores ASCII case. The registry is guarded by a mutex, so it
// may be used from any thread.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "pdf/pdf_error.h"

// Base of every class that the registry can create.
class TVPersistent {
 public:
  virtual ~TVPersistent() = default;

 protected:
  TVPersistent() = default;
  TVPersistent(const TVPersistent&) = default;
  TVPersistent& operator=(const TVPersistent&) = default;
};

// A class reference: the class's name and its virtual constructor.
struct TVPersistentClass {
  std::string_view ClassName;
  std::unique_ptr<TVPersistent> (*Create)() = nullptr;
  bool operator==(const TVPersistentClass&) const = default;
};

template <class T>
std::unique_ptr<TVPersistent> CreatePersistent() {
  return std::make_unique<T>();
}

// The class reference of T, which must be default-constructible and have a
// static ClassName().
template <class T>
TVPersistentClass ClassOf() {
  return {T::ClassName(), &CreatePersistent<T>};
}

class TClassRegistry {
 public:
  // Enters `cls` under `alias`. Entering the same class again is a no-op; an
  // alias held by another class raises EPdfError.
  void RegisterClassAlias(const TVPersistentClass& cls, std::string_view alias);
  // Removes `alias`; nothing when it is unknown.
  void UnRegisterClassAlias(std::string_view alias);

  // The class entered under `alias`, if any.
  std::optional<TVPersistentClass> GetClass(std::string_view alias) const;
  // As GetClass, but an unknown alias raises EPdfError "Class <alias> not found".
  TVPersistentClass FindClass(std::string_view alias) const;

  // A new instance of the class entered under `alias`, as a T. An unknown
  // alias, or a class that is not a T, raises EPdfError.
  template <class T>
  std::unique_ptr<T> Create(std::string_view alias) const {
    const TVPersistentClass cls = FindClass(alias);
    std::unique_ptr<TVPersistent> object = cls.Create();
    if (dynamic_cast<T*>(object.get()) == nullptr)
      throw EPdfError("Class " + std::string(alias) + " is not of the requested kind");
    return std::unique_ptr<T>(static_cast<T*>(object.release()));
  }

 private:
  struct TCaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  mutable std::mutex FLock;
  std::map<std::string, TVPersistentClass, TCaseInsensitiveLess> FClasses;
};

// The process-wide registry, built on first use (so it exists before any
// registration and outlives every caller that reached it at start-up).
TClassRegistry& ClassRegistry();
