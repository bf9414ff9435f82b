#include "BoxFixture.h"

#include <chrono>
#include <cstdlib>

namespace e2e {

bool BoxFixture::Start(std::string& error, const std::string& configJson)
{
    return StartBoxes(error, {BoxSpec{0, configJson}});
}

bool BoxFixture::StartBoxes(std::string& error, const std::vector<BoxSpec>& boxes)
{
    if (!std::filesystem::exists(KorvaldBoxPath())) {
        error = KorvaldBoxPath().string() + " is not built";
        return false;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "kz-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "cannot create a temporary folder";
        return false;
    }
    root_ = pattern;
    // Made first, so that a failed start still has boxes to ask for their log.
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes_.push_back(std::make_unique<SimulatedBox>());
    if (!server_.Start(error, root_.string()))
        return false;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::string folder = "box" + std::to_string(i + 1);
        if (!boxes_[i]->Start(error, root_ / folder, boxes[i].port, boxes[i].configJson, server_))
            return false;
    }
    for (const auto& box : boxes_) {
        if (!server_.WaitForState(box->Serial(), "device", std::chrono::seconds(15))) {
            error = "the adb server never listed " + box->Serial() + " as a device; box log:\n" + box->Log();
            return false;
        }
    }
    return true;
}

void BoxFixture::Stop()
{
    boxes_.clear();
    server_.Stop();
    if (!root_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        root_.clear();
    }
}

}  // namespace e2e
