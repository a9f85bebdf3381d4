#include "machine_folder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "reg_file.h"

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void spit(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

MachineFolder::MachineFolder() {
    std::string pattern = (fs::temp_directory_path() / "simwin-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    base_ = pattern;
    machine_ = base_ / "machine";
    fs::create_directories(machine_ / "drive_c");
}

MachineFolder MachineFolder::copy_of(const std::string& example) {
    MachineFolder folder;
    fs::remove_all(folder.machine_);
    fs::copy(fs::path(EXAMPLES_DIR) / example, folder.machine_, fs::copy_options::recursive);
    return folder;
}

MachineFolder::MachineFolder(MachineFolder&& other) noexcept
    : base_(std::move(other.base_)), machine_(std::move(other.machine_)) {
    other.base_.clear();
}

MachineFolder::~MachineFolder() {
    std::error_code ec;
    if (!base_.empty()) fs::remove_all(base_, ec);
}

void MachineFolder::write(const std::string& relative, const std::string& text) const {
    spit(machine_ / relative, text);
}

std::string MachineFolder::read(const std::string& relative) const { return slurp(machine_ / relative); }

bool MachineFolder::exists(const std::string& relative) const { return fs::exists(machine_ / relative); }

void MachineFolder::remove(const std::string& relative) const { fs::remove(machine_ / relative); }

std::map<std::string, std::string> MachineFolder::files() const {
    std::map<std::string, std::string> out;
    for (const auto& entry : fs::recursive_directory_iterator(machine_)) {
        if (entry.is_regular_file()) out[fs::relative(entry.path(), machine_).string()] = slurp(entry.path());
    }
    return out;
}

sim::Registry MachineFolder::registry() const { return sim::load_reg_file(read("registry.reg"), "registry.reg"); }

MachineFolder::Run MachineFolder::run(const std::string& program, const std::vector<std::string>& args,
                                      const std::string& input,
                                      const std::map<std::string, std::string>& environment) const {
    const fs::path input_file = base_ / "input.txt";
    const fs::path trace_file = base_ / "trace.txt";
    const fs::path errors_file = base_ / "errors.txt";
    spit(input_file, input);
    fs::remove(trace_file);

    std::string path = (fs::path(BIN_DIR) / program).string();
    std::vector<std::string> argv_text = {path};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::map<std::string, std::string> env = {{"SIMWIN_MACHINE", machine_.string()},
                                              {"SIMWIN_INPUT", input_file.string()},
                                              {"SIMWIN_TRACE", trace_file.string()}};
    for (const auto& [name, value] : environment) env[name] = value;

    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("cannot start " + path);
    if (pid == 0) {
        for (const auto& [name, value] : env) {
            if (value.empty()) {
                ::unsetenv(name.c_str());
            } else {
                ::setenv(name.c_str(), value.c_str(), 1);
            }
        }
        int null_in = ::open("/dev/null", O_RDONLY);
        int errors = ::open(errors_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(null_in, STDIN_FILENO);
        ::dup2(errors, STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& a : argv_text) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    Run run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.errors = slurp(errors_file);
    if (fs::exists(trace_file)) {
        run.trace_text = slurp(trace_file);
        std::istringstream lines(run.trace_text);
        for (std::string line; std::getline(lines, line);) run.trace.push_back(line);
    }
    return run;
}

std::vector<std::string> calls(const MachineFolder::Run& run) {
    std::vector<std::string> out;
    for (const std::string& line : run.trace) {
        if (!line.empty() && line[0] != '#') out.push_back(line);
    }
    return out;
}

}  // namespace e2e
