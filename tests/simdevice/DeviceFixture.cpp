#include "DeviceFixture.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

namespace boxtest {

bool CaptureOutput::Write(std::string_view bytes)
{
    const int n = ++writes_;
    if (limit_ >= 0 && n > limit_)
        return false;
    std::lock_guard lock(mutex_);
    text_ += bytes;
    return true;
}

std::string CaptureOutput::Text() const
{
    std::lock_guard lock(mutex_);
    return text_;
}

void DeviceTest::SetUp()
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    std::string templ = (fs::temp_directory_path() / "simdevice-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    dir = templ;
    Restart();
}

void DeviceTest::TearDown()
{
    device.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);
}

std::string DeviceTest::ConfigJson() const
{
    return R"({"speed": 0, "readUserMs": 0, "mtkMs": 0, "rebootDelayMs": 10,
               "chip": {"boot1Bytes": 1048576, "boot2Bytes": 1048576, "userBytes": 67108864},
               "link": {"state": "online"}})";
}

void DeviceTest::Restart()
{
    device.reset();
    // The state lives below dir, so that tests can put host files beside it.
    const fs::path config = dir / "config.json";
    std::ofstream(config) << ConfigJson();
    device = std::make_unique<box::Device>(box::DeviceOptions{dir / "state", config});
}

std::string DeviceTest::Run(const std::string& command)
{
    CaptureOutput out;
    device->RunShell(command, out);
    return out.Text();
}

void DeviceTest::WriteHostFile(const std::string& relative, const std::string& content) const
{
    fs::create_directories((dir / relative).parent_path());
    std::ofstream(dir / relative, std::ios::binary) << content;
}

std::string DeviceTest::ReadHostFile(const std::string& relative) const
{
    std::ifstream in(dir / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DeviceTest::ReadHostBytes(const std::string& relative, uint64_t offset, size_t count) const
{
    std::ifstream in(dir / relative, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

std::string Pattern(size_t size, unsigned seed)
{
    std::string s(size, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

}  // namespace boxtest
