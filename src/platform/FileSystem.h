#pragma once
// Files and folders. Paths are "/"-separated; folders end in "/".
// Failures come back as I/O result codes (0 = success; see IOErrorText).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qnr::platform {

using Bytes = std::vector<std::uint8_t>;

struct ReadResult {
    int code = 0;  // 0 on success
    Bytes bytes;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;
    virtual bool isFolder(const std::string& path) = 0;
    virtual bool isReadOnly(const std::string& path) = 0;
    // Modification time as seconds since the epoch; nullopt when missing.
    virtual std::optional<std::int64_t> modifiedSeconds(const std::string& path) = 0;

    // Reads at most maxBytes (the rest of a longer file is not read).
    virtual ReadResult readFile(const std::string& path, std::size_t maxBytes) = 0;
    // Writes the whole file beside its target and renames it into place, so
    // that a failed write leaves the old file as it was.
    virtual int writeFileAtomic(const std::string& path, const Bytes& bytes) = 0;
    virtual int appendFile(const std::string& path, const Bytes& bytes) = 0;
    virtual int copyFile(const std::string& from, const std::string& to) = 0;
    virtual int removeFile(const std::string& path) = 0;
    // Creates the folder and any missing parents.
    virtual int makeFolders(const std::string& path) = 0;
    virtual std::vector<std::string> listFolder(const std::string& folder) = 0;

    virtual std::string currentFolder() = 0;
    virtual int setCurrentFolder(const std::string& folder) = 0;

    // Roots of mounted removable media (where a data medium may be mounted).
    virtual std::vector<std::string> removableMediaRoots() = 0;

    // The existing path whose components match path without regard to case,
    // preferring an exact match; path itself when nothing matches.
    std::string resolve(const std::string& path);
};

// The standard-library implementation, used by the observatory and qnrtool.
class StdFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    bool isReadOnly(const std::string& path) override;
    std::optional<std::int64_t> modifiedSeconds(const std::string& path) override;
    ReadResult readFile(const std::string& path, std::size_t maxBytes) override;
    int writeFileAtomic(const std::string& path, const Bytes& bytes) override;
    int appendFile(const std::string& path, const Bytes& bytes) override;
    int copyFile(const std::string& from, const std::string& to) override;
    int removeFile(const std::string& path) override;
    int makeFolders(const std::string& path) override;
    std::vector<std::string> listFolder(const std::string& folder) override;
    std::string currentFolder() override;
    int setCurrentFolder(const std::string& folder) override;
    std::vector<std::string> removableMediaRoots() override;
};

// Maps an errno value onto the I/O result codes the file-error texts know.
int IoCodeFromErrno(int err);

// "/"-path helpers.
std::string WithTrailingSlash(const std::string& folder);
std::string FolderOf(const std::string& path);     // up to and including the last "/"
std::string FileNameOf(const std::string& path);   // after the last "/"
// The name of an options file's backup copy: the name without its extension
// (the "." and up to three characters after it) + ".BAK".
std::string BackupName(const std::string& fileName);

}  // namespace qnr::platform
