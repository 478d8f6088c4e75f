#include "support/Fakes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace qnr::test {

platform::Answer FakeDialogs::ask(const platform::Message& message) {
    messages.push_back(message);
    if (whileShown) whileShown();
    if (message.buttons == platform::Buttons::OK) {
        if (!answers_.empty() && answers_.front() == platform::Answer::OK) answers_.pop_front();
        return platform::Answer::OK;
    }
    if (answers_.empty()) return fallback;
    platform::Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<std::string> FakeDialogs::inputLine(const std::string& caption, const std::string& prompt,
                                                  const std::string&) {
    inputPrompts.push_back(caption + "|" + prompt);
    if (inputs_.empty()) return std::nullopt;
    auto v = inputs_.front();
    inputs_.pop_front();
    return v;
}

std::vector<std::string> FakeDialogs::shown() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.caption + "|" + m.text);
    return out;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qnr-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qnr::test
