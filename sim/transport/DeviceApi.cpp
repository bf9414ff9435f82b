#include "DeviceApi.h"

namespace box {

namespace {

// Banner values are separated by ':', ';' and '=', so those cannot appear in one.
std::string BannerValue(std::string value)
{
    for (char& c : value) {
        if (c == ':' || c == ';' || c == '=')
            c = '_';
    }
    return value;
}

}  // namespace

std::string DeviceBanner(const DeviceApi& device)
{
    return "device::ro.product.name=" + BannerValue(device.ProductName())
           + ";ro.product.model=" + BannerValue(device.ProductModel())
           + ";ro.product.device=" + BannerValue(device.ProductDevice()) + ";features=";
}

}  // namespace box
