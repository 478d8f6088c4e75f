#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <filesystem>
#include <unistd.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace qnr::platform {

namespace {

int codeOf(const std::error_code& ec) { return ec ? IoCodeFromErrno(ec.value()) : 0; }

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

int IoCodeFromErrno(int err) {
    switch (err) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return 5;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return 101;
    default: return 1000 + err;  // shown as "IOResult = <code>"
    }
}

std::string WithTrailingSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + "/";
}

std::string FolderOf(const std::string& path) {
    auto p = path.rfind('/');
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string FileNameOf(const std::string& path) {
    auto p = path.rfind('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string BackupName(const std::string& fileName) {
    auto dot = fileName.rfind('.');
    std::string stem = fileName;
    if (dot != std::string::npos && fileName.size() - dot <= 4 && fileName.find('/', dot) == std::string::npos)
        stem = fileName.substr(0, dot);
    return stem + ".BAK";
}

std::string FileSystem::resolve(const std::string& path) {
    if (path.empty() || exists(path)) return path;
    // Walk the components, replacing each missing one by a case-insensitive match.
    std::string done = path[0] == '/' ? "/" : "";
    std::size_t pos = done.size();
    while (pos <= path.size()) {
        std::size_t next = path.find('/', pos);
        std::string part = path.substr(pos, next == std::string::npos ? std::string::npos : next - pos);
        bool last = next == std::string::npos;
        if (!part.empty()) {
            std::string candidate = done + part;
            if (!exists(candidate)) {
                std::string folder = done.empty() ? "./" : done;
                std::string found;
                for (const auto& name : listFolder(folder)) {
                    if (sameIgnoringCase(name, part)) { found = name; break; }
                }
                if (found.empty()) return path;
                candidate = done + found;
            }
            done = candidate;
        }
        if (last) break;
        done += "/";
        pos = next + 1;
    }
    return done;
}

bool StdFileSystem::exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool StdFileSystem::isFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool StdFileSystem::isReadOnly(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0;
}

std::optional<std::int64_t> StdFileSystem::modifiedSeconds(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

ReadResult StdFileSystem::readFile(const std::string& path, std::size_t maxBytes) {
    ReadResult r;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        r.code = IoCodeFromErrno(errno);
        return r;
    }
    std::uint8_t chunk[65536];
    while (r.bytes.size() < maxBytes) {
        std::size_t want = std::min(sizeof chunk, maxBytes - r.bytes.size());
        std::size_t got = std::fread(chunk, 1, want, f);
        r.bytes.insert(r.bytes.end(), chunk, chunk + got);
        if (got < want) {
            if (std::ferror(f)) r.code = IoCodeFromErrno(errno ? errno : EIO);
            break;
        }
    }
    std::fclose(f);
    return r;
}

int StdFileSystem::writeFileAtomic(const std::string& path, const Bytes& bytes) {
    const std::string temp = path + ".new~";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return IoCodeFromErrno(errno);
    std::size_t done = 0;
    int code = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            code = IoCodeFromErrno(errno);
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (code == 0 && ::fsync(fd) != 0) code = IoCodeFromErrno(errno);
    if (::close(fd) != 0 && code == 0) code = IoCodeFromErrno(errno);
    if (code == 0 && std::rename(temp.c_str(), path.c_str()) != 0) code = IoCodeFromErrno(errno);
    if (code != 0) ::unlink(temp.c_str());
    return code;
}

int StdFileSystem::appendFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return IoCodeFromErrno(errno);
    int code = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        code = IoCodeFromErrno(errno ? errno : EIO);
    if (std::fclose(f) != 0 && code == 0) code = IoCodeFromErrno(errno);
    return code;
}

int StdFileSystem::copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return codeOf(ec);
}

int StdFileSystem::removeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::remove(path, ec) && !ec) return 2;
    return codeOf(ec);
}

int StdFileSystem::makeFolders(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return codeOf(ec);
}

std::vector<std::string> StdFileSystem::listFolder(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string StdFileSystem::currentFolder() {
    std::error_code ec;
    return WithTrailingSlash(fs::current_path(ec).string());
}

int StdFileSystem::setCurrentFolder(const std::string& folder) {
    std::error_code ec;
    fs::current_path(folder, ec);
    return codeOf(ec);
}

std::vector<std::string> StdFileSystem::removableMediaRoots() {
    std::vector<std::string> roots;
    std::string user;
    if (const char* u = std::getenv("USER")) user = u;
    for (std::string base : {std::string("/media/"), std::string("/run/media/")}) {
        std::vector<std::string> tops{base};
        if (!user.empty()) tops.insert(tops.begin(), base + user + "/");
        for (const auto& top : tops)
            for (const auto& name : listFolder(top))
                if (isFolder(top + name) && name != user) roots.push_back(top + name + "/");
    }
    return roots;
}

}  // namespace qnr::platform
