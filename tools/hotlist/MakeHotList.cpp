// Writes the starter hot list from its text source at build time:
//   qnr_make_hotlist SOURCE.txt TARGET.HTL
// Each line "identifier | h m s | d m s | comment"; "#" starts a remark line.
#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "observatory/HotList.h"
#include "platform/FileSystem.h"

namespace {

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Split(const std::string& line, char delim) {
    std::vector<std::string> parts;
    std::stringstream in(line);
    std::string part;
    while (std::getline(in, part, delim)) parts.push_back(Trimmed(part));
    return parts;
}

// "hh mm ss.ss" or "+dd mm ss.s" as a value; false when it does not read.
bool Sexagesimal(const std::string& text, long double& value) {
    std::vector<std::string> parts = Split(text, ' ');
    std::erase(parts, std::string());
    if (parts.size() != 3) return false;
    const bool negative = !parts[0].empty() && parts[0][0] == '-';
    if (!parts[0].empty() && (parts[0][0] == '-' || parts[0][0] == '+')) parts[0].erase(0, 1);
    long double v[3];
    for (int i = 0; i < 3; ++i) {
        const std::string& p = parts[static_cast<std::size_t>(i)];
        auto r = std::from_chars(p.data(), p.data() + p.size(), v[i]);
        if (r.ec != std::errc() || r.ptr != p.data() + p.size() || v[i] < 0) return false;
    }
    if (v[1] >= 60 || v[2] >= 60) return false;
    value = v[0] + v[1] / 60 + v[2] / 3600;
    if (negative) value = -value;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: qnr_make_hotlist SOURCE.txt TARGET.HTL\n";
        return 2;
    }
    std::ifstream source(argv[1]);
    if (!source) {
        std::cerr << "qnr_make_hotlist: cannot read " << argv[1] << "\n";
        return 1;
    }
    qnr::observatory::ObjctList list;
    std::string line;
    int number = 0;
    while (std::getline(source, line)) {
        ++number;
        const std::string text = Trimmed(line);
        if (text.empty() || text[0] == '#') continue;
        const std::vector<std::string> fields = Split(text, '|');
        qnr::observatory::ObjctDat entry;
        if (fields.size() < 3 || !Sexagesimal(fields[1], entry.ra) || !Sexagesimal(fields[2], entry.dec) ||
            entry.ra < 0 || entry.ra >= 24 || entry.dec < -90 || entry.dec > 90) {
            std::cerr << argv[1] << ":" << number << ": not \"identifier | h m s | d m s | comment\"\n";
            return 1;
        }
        entry.identifier = fields[0];
        entry.comment = fields.size() > 3 ? fields[3] : std::string();
        if (entry.identifier.size() > qnr::observatory::MaxHotListId ||
            entry.comment.size() > qnr::observatory::MaxHotListComment) {
            std::cerr << argv[1] << ":" << number << ": identifier over 24 or comment over 40 characters\n";
            return 1;
        }
        list.InsertSorted(entry);
    }
    qnr::platform::StdFileSystem files;
    if (files.writeFileAtomic(argv[2], qnr::observatory::EncodeHotList(list.Entries())) != 0) {
        std::cerr << "qnr_make_hotlist: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
