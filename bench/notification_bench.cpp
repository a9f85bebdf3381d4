// Notifications through the volume link's whole path, on a machine in a temporary folder:
// the mixer service posts each change, the link dialog's modal loop takes and dispatches it,
// the message map reaches the change handler, which reads the source control and writes the
// target control. Stands in for the person at the machine: each time the program waits, one
// control of the source mixer changes. Prints notifications a second and heap allocations a
// notification, counted by the replaced global operator new.
//
//   notification-bench [NOTIFICATIONS]     (default 2000000)
//
// With SIMWIN_TRACE naming a file the run is traced there, which shows what tracing costs.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "machine.h"
#include "platform_api.h"

namespace {

std::atomic<bool> counting{false};
std::atomic<unsigned long> allocations{0};

std::filesystem::path folder;

void write(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

void remove_folder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace

void* operator new(std::size_t size) {
    if (counting.load(std::memory_order_relaxed))
        allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 2000000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: notification-bench [NOTIFICATIONS]\n");
        return 2;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "simwin-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 2;
    folder = pattern;
    std::atexit(remove_folder);
    write(folder / "machine.ini",
          "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl1=0,0\r\nControl2=0,0\r\nControl3=0,0\r\n"
          "Control12=0\r\nControl7=0\r\nControl8=0\r\n"
          "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0\r\nControl2=0,0\r\nControl3=0,0\r\n"
          "Control10=0\r\nControl8=0\r\nControl9=0\r\n");
    write(folder / "drive_c/WINDOWS/SYSTEM/MIXTWIN.INI",
          "[mixtwin]\r\nChip=68\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\nF=6\r\nG=7\r\nH=8\r\nI=9\r\nJ=10\r\nK="
          "11\r\nL=12\r\n");

    auto m = sim::Machine::load(folder, sim::Input::none());
    m->program_name = "mixtwin";
    if (const char* trace = std::getenv("SIMWIN_TRACE"); trace && *trace)
        m->trace.open(trace);
    sim::Machine& machine = *m;
    // Pair 0 (stereo to mono) and pair 1 (stereo copy) by turns.
    sim::MixerControl* controls[2] = {machine.mixers.devices[0].control(1),
                                      machine.mixers.devices[0].control(2)};

    long done = -1;
    std::chrono::steady_clock::time_point start;
    machine.on_wait = [&]() -> bool {
        if (done < 0) {
            // The first wait: the link dialog's loop runs and the measure begins.
            done = 0;
            start = std::chrono::steady_clock::now();
            counting = true;
        }
        if (done == count) {
            counting = false;
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("notifications: %ld in %.3f s, %.0f a second\n", count, seconds, count / seconds);
            std::printf("heap allocations: %lu, %.4f a notification\n", allocations.load(),
                        static_cast<double>(allocations.load()) / count);
            std::fflush(stdout);
            return false;
        }
        std::uint32_t values[2] = {static_cast<std::uint32_t>(done & 0x7FFF),
                                   static_cast<std::uint32_t>((done * 3) & 0xFFFF)};
        machine.mixers.change(0, *controls[done % 2], values, 2);
        done++;
        return true;
    };
    sim::set_machine(std::move(m));
    // The program's run; the end of the stand-in's changes ends it with the machine's shutdown.
    return WinMain(reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x00400000)), nullptr,
                   const_cast<char*>(""), 10);
}
