#include "FakeDevice.h"

#include <sys/stat.h>

namespace boxtest {

class FakePush : public box::PushTarget {
public:
    FakePush(FakeDevice& device, std::string path) : device_(device), path_(std::move(path)) {}
    bool Write(std::string_view bytes, std::string&) override
    {
        data_.append(bytes);
        return true;
    }
    bool Finish(uint32_t, std::string&) override
    {
        std::lock_guard lock(device_.mutex_);
        device_.files_[path_] = data_;
        return true;
    }

private:
    FakeDevice& device_;
    std::string path_;
    std::string data_;
};

box::ShellResult FakeDevice::RunShell(const std::string& command, box::Output& out)
{
    if (command.rfind("echo ", 0) == 0) {
        out.Write(command.substr(5) + "\n");
    } else if (command.rfind("lines ", 0) == 0) {
        for (int i = 0, n = std::stoi(command.substr(6)); i < n; ++i)
            out.Write("line " + std::to_string(i) + "\n");
    } else if (command.rfind("bytes ", 0) == 0) {
        out.Write(std::string(std::stoul(command.substr(6)), 'x'));
    } else if (command == "spin") {
        while (out.Write("."))
            ;
        spinWriteFailed = true;
        ++spinEnded;
    } else if (command == "reboot") {
        return {true};
    } else if (!command.empty()) {
        out.Write("sh: " + command + ": not found\n");
    }
    return {};
}

box::FileStat FakeDevice::Stat(const std::string& path)
{
    if (path == "/mnt/sdcard" || path == "/mnt/sdcard/")
        return {S_IFDIR | 0775, 4096, 1};
    std::lock_guard lock(mutex_);
    auto it = files_.find(path);
    if (it == files_.end())
        return {};
    return {S_IFREG | 0644, static_cast<uint32_t>(it->second.size()), 1};
}

std::unique_ptr<box::PushTarget> FakeDevice::BeginPush(const std::string& path, uint32_t, std::string& error)
{
    if (path.rfind("/mnt/sdcard/", 0) != 0) {
        error = "Permission denied";
        return nullptr;
    }
    return std::make_unique<FakePush>(*this, path);
}

std::string FakeDevice::Control(const std::string& command)
{
    std::lock_guard lock(mutex_);
    controls_.push_back(command);
    return command == "insert-chip" ? "ok" : "unknown command: " + command;
}

std::string FakeDevice::File(const std::string& path)
{
    std::lock_guard lock(mutex_);
    auto it = files_.find(path);
    return it == files_.end() ? "<missing>" : it->second;
}

std::vector<std::string> FakeDevice::Controls()
{
    std::lock_guard lock(mutex_);
    return controls_;
}

}  // namespace boxtest
