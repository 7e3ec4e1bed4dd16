#pragma once
// The subclassing module wired to the real Win32 calls.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "winmsg/ISubclassPlatform.h"
#include "winmsg/MSubclass.h"

namespace halcyra::win32 {

class Win32SubclassPlatform final : public ISubclassPlatform {
public:
    bool IsWindow(WindowHandle hwnd) override;
    std::uint32_t WindowProcessId(WindowHandle hwnd) override;
    std::uint32_t CurrentProcessId() override;
    std::uintptr_t GetProperty(WindowHandle hwnd, const std::string& name) override;
    void SetProperty(WindowHandle hwnd, const std::string& name, std::uintptr_t value) override;
    void RemoveProperty(WindowHandle hwnd, const std::string& name) override;
    WindowProcAddress ReplacementWindowProc() override;
    WindowProcAddress InstallWindowProc(WindowHandle hwnd, WindowProcAddress proc) override;
    LResult CallWindowProcedure(WindowProcAddress proc, WindowHandle hwnd, std::uint32_t msg,
                                WParam wParam, LParam lParam) override;
    std::string ProgramName() override;

private:
    // Entries are read by their names' atoms: the name's text need not be converted and looked
    // up again at every message. Only names of entries that hold a value are kept, each with an
    // atom reference of its own so that its number cannot pass to another name meanwhile.
    // A handful of names: a plain list searched in turn is as quick, and a hash table would
    // bring the C++ runtime's rehash policy into the program.
    using Atoms = std::vector<std::pair<std::string, std::uint16_t>>;
    Atoms::iterator Find(const std::string& name);
    void Forget(const std::string& name);
    Atoms atoms_;
};

// The process-wide module behind the replacement window procedure.
MSubclass& SubclassModule();

} // namespace halcyra::win32
