// Drive C: of the machine, a folder of the host.
//
// A Windows path "C:\dir\name" maps to the file below the drive's folder whose names
// match each part without regard to case. A path never leads outside the drive's folder:
// another drive, a UNC name, a relative or host path, ".." beyond the root and symbolic
// links all count as a missing file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

class Drive {
public:
    explicit Drive(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // "C:\WINDOWS\SYSTEM\X.DRV" for any spelling of a path of drive C: (case folded, "."
    // and ".." resolved, trailing dots and blanks of a name dropped, "/" read as "\");
    // nullopt for a path that cannot name a file of drive C:.
    static std::optional<std::string> normal_form(std::string_view windows_path);

    struct Found {
        std::filesystem::path host;
        bool is_folder;
    };
    enum class Missing { File, Path };

    // The existing file or folder the path names, or which part is missing.
    std::optional<Found> find(std::string_view windows_path, Missing* missing = nullptr) const;

    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
};

}  // namespace sim
