// Stands in for the System Information program: leaves "<own path>.started" to show that
// it was started, and how it was asked to show itself.
#include <windows.h>

#include <fstream>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int showCommand) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::ofstream(std::string(path) + ".started", std::ios::app)
        << showCommand << " [" << commandLine << "]\n";
    return 0;
}
