#pragma once
// USB arrivals and removals from udev, reported the way the device-interface
// broadcasts of the original platform name them, e.g.
//   \\?\USB#VID_18D1&PID_4E22#0123456789ABCDEF#{a5dcbf10-6530-11d2-901f-00c04fb951ed}
// so that the connection monitor keeps its one test on the name ("USB#VID_"
// and "PID_").  Only whole USB devices carry vendor and product; their
// interfaces are reported too, under names without them, and are passed over
// by that test.

#include <QHash>
#include <QObject>
#include <QString>

struct udev;
struct udev_device;
struct udev_monitor;
class QSocketNotifier;

namespace kz {

inline constexpr int kDeviceArrival = 0x8000;
inline constexpr int kDeviceRemoval = 0x8004;

// What one udev event says about a USB device or interface.
struct UsbUevent {
    QString action;                      // "add", "remove", "bind", ...
    QString devtype;                     // "usb_device", "usb_interface"
    QString sysname;                     // "1-2", "1-2:1.0"
    QHash<QString, QString> properties;  // ID_VENDOR_ID, ID_MODEL_ID, PRODUCT, ID_SERIAL_SHORT, ...
    QString sysVendor;                   // sysfs idVendor / idProduct / serial, when still readable
    QString sysProduct;
    QString sysSerial;
};

// kDeviceArrival for "add", kDeviceRemoval for "remove", 0 for the rest.
int UsbEventCode(const QString& action);

// The broadcast name of the event's device.
QString UsbDeviceInterfaceName(const UsbUevent& event);

class UsbHotplug : public QObject {
    Q_OBJECT
public:
    explicit UsbHotplug(QObject* parent = nullptr);
    ~UsbHotplug() override;

    // Starts listening; false when udev cannot be reached (no events will
    // come, the rest of the program works on).  Call on the GUI thread.
    bool Start();

    // Emits deviceChanged for an arrival or removal; other events are
    // dropped.  Start() feeds every udev event through here.
    void Dispatch(const UsbUevent& event);

signals:
    void deviceChanged(int event, const QString& name);

private:
    void OnReadable();
    void Stop();

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace kz
