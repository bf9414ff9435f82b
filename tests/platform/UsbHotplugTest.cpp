#include "platform/UsbHotplug.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

namespace {

const QString kClass = QStringLiteral("#{a5dcbf10-6530-11d2-901f-00c04fb951ed}");

kz::UsbUevent Device(const QString& action, QHash<QString, QString> properties)
{
    return {action, "usb_device", "1-2", std::move(properties), {}, {}, {}};
}

// The connection monitor's test on a broadcast name.
bool NamesAUsbDevice(const QString& name)
{
    const QString upper = name.toUpper();
    return upper.contains("USB#VID_") && upper.contains("PID_");
}

TEST(UsbDeviceInterfaceName, UdevIdentityGivesTheWindowsStyleName)
{
    const auto event = Device("add", {{"ID_VENDOR_ID", "18d1"}, {"ID_MODEL_ID", "4e22"}, {"ID_SERIAL_SHORT", "0123abc"},
                                      {"PRODUCT", "1234/5678/100"}});
    EXPECT_EQ(kz::UsbDeviceInterfaceName(event), "\\\\?\\USB#VID_18D1&PID_4E22#0123abc" + kClass);
}

TEST(UsbDeviceInterfaceName, RemovalFallsBackToTheKernelsProductField)
{
    // After removal the sysfs attributes are gone and, without a udev
    // daemon, so are the ID_ properties.
    const auto event = Device("remove", {{"PRODUCT", "18d1/4e2/223"}});
    EXPECT_EQ(kz::UsbDeviceInterfaceName(event), "\\\\?\\USB#VID_18D1&PID_04E2#1-2" + kClass);
}

TEST(UsbDeviceInterfaceName, SysfsAttributesAreTheLastSource)
{
    kz::UsbUevent event = Device("add", {});
    event.sysVendor = "0bda";
    event.sysProduct = "8153";
    event.sysSerial = "SER#1/2";
    EXPECT_EQ(kz::UsbDeviceInterfaceName(event), "\\\\?\\USB#VID_0BDA&PID_8153#SER_1_2" + kClass);
}

TEST(UsbDeviceInterfaceName, InterfacesAndUnidentifiedDevicesCarryNoVendorOrProduct)
{
    kz::UsbUevent iface = Device("add", {{"ID_VENDOR_ID", "18d1"}, {"ID_MODEL_ID", "4e22"}, {"PRODUCT", "18d1/4e22/1"}});
    iface.devtype = "usb_interface";
    iface.sysname = "1-2:1.0";
    EXPECT_EQ(kz::UsbDeviceInterfaceName(iface), "\\\\?\\USB#1-2:1.0" + kClass);
    EXPECT_FALSE(NamesAUsbDevice(kz::UsbDeviceInterfaceName(iface)));

    for (const auto& props : {QHash<QString, QString>{},
                              QHash<QString, QString>{{"ID_VENDOR_ID", "xyz1"}, {"ID_MODEL_ID", "12345"}},
                              QHash<QString, QString>{{"PRODUCT", "garbage"}}}) {
        const QString name = kz::UsbDeviceInterfaceName(Device("add", props));
        EXPECT_FALSE(NamesAUsbDevice(name)) << name.toStdString();
    }
}

TEST(UsbDeviceInterfaceName, ASerialCannotForgeTheNamesStructure)
{
    const QString name = kz::UsbDeviceInterfaceName(
        Device("add", {{"ID_VENDOR_ID", "18d1"}, {"ID_MODEL_ID", "4e22"}, {"ID_SERIAL_SHORT", "x#{evil}\\?"}}));
    EXPECT_EQ(name.count(u'#'), 3);
    EXPECT_TRUE(name.endsWith(kClass));
}

TEST(UsbHotplug, OnlyArrivalsAndRemovalsAreReported)
{
    kz::UsbHotplug hotplug;
    QSignalSpy spy(&hotplug, &kz::UsbHotplug::deviceChanged);
    const QHash<QString, QString> id{{"ID_VENDOR_ID", "18d1"}, {"ID_MODEL_ID", "4e22"}, {"ID_SERIAL_SHORT", "S"}};
    for (const char* action : {"add", "bind", "change", "unbind", "remove", ""})
        hotplug.Dispatch(Device(action, id));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toInt(), kz::kDeviceArrival);
    EXPECT_EQ(spy[1][0].toInt(), kz::kDeviceRemoval);
    EXPECT_TRUE(NamesAUsbDevice(spy[1][1].toString()));
}

TEST(UsbHotplug, StartsAndStopsCleanlyAgainstTheRealUdev)
{
    // Whether a netlink socket is allowed depends on the machine; either
    // answer is fine, but a started monitor must also start again.
    kz::UsbHotplug hotplug;
    if (!hotplug.Start())
        GTEST_SKIP() << "udev monitor not available here";
    EXPECT_TRUE(hotplug.Start());
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
