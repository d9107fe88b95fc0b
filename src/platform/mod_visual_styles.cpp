#include "platform/mod_visual_styles.h"

namespace vantiq::modVisualStyles {
namespace {

// Frees the module it was given on every way out of the test.
class LoadedModule {
 public:
  LoadedModule(Platform& platform, const std::string& library)
      : platform_(platform), module_(platform.LoadLibraryA(library)) {}
  ~LoadedModule() {
    if (module_ != 0) platform_.FreeLibrary(module_);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  ModuleHandle Get() const { return module_; }

 private:
  Platform& platform_;
  ModuleHandle module_;
};

}  // namespace

bool IsFunctionExported(Platform& platform, const std::string& library,
                        const std::string& function) {
  LoadedModule module(platform, library);
  return module.Get() != 0 && platform.GetProcAddress(module.Get(), function);
}

bool IsDllPresent(Platform& platform, const std::string& library) {
  LoadedModule module(platform, library);
  return module.Get() != 0;
}

}  // namespace vantiq::modVisualStyles
