// Discovery against recorded devices: umockdev's test bed stands in for
// sysfs and udev (the test runs with its preload library), so the real
// libudev code reads adapters and ports no machine here has.

#include <gtest/gtest.h>
#include <poll.h>
#include <umockdev.h>

#include <memory>

#include "discovery/device_access.h"
#include "discovery/device_description.h"
#include "discovery/device_monitor.h"
#include "discovery/udev_serial_devices.h"

namespace zrm {
namespace {

class UdevDiscoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bed_ = umockdev_testbed_new();
    if (!umockdev_in_mock_environment()) GTEST_SKIP() << "needs umockdev's preload library";
  }
  void TearDown() override {
    if (bed_ != nullptr) g_object_unref(bed_);
  }

  // A USB adapter: the USB device with its strings, and its tty.
  void AddUsbAdapter(const char* name, const char* vendor, const char* product_id,
                     const char* product, const char* serial, const char* driver) {
    gchar* usb = umockdev_testbed_add_device(bed_, "usb", (std::string("1-") + name).c_str(),
                                             nullptr, "idVendor", vendor, "idProduct", product_id,
                                             "manufacturer", "FTDI", "product", product, "serial",
                                             serial, nullptr, "DEVTYPE", "usb_device", nullptr);
    const std::string by_id = std::string("/dev/serial/by-id/usb-FTDI_") + serial + "-if00-port0";
    g_free(umockdev_testbed_add_device(bed_, "tty", name, usb, "dev", "188:0", nullptr, "DEVNAME",
                                       (std::string("/dev/") + name).c_str(), "DEVLINKS",
                                       by_id.c_str(), "ID_USB_DRIVER", driver, nullptr));
    g_free(usb);
  }

  void AddBuiltinPort(const char* name, const char* uart_type) {
    g_free(umockdev_testbed_add_device(bed_, "tty", name, nullptr, "type", uart_type, "dev", "4:64",
                                       nullptr, "DEVNAME", (std::string("/dev/") + name).c_str(),
                                       nullptr));
  }

  UMockdevTestbed* bed_ = nullptr;
};

TEST_F(UdevDiscoveryTest, ListsAdaptersAndRealUartsOnly) {
  AddUsbAdapter("ttyUSB0", "0403", "6001", "FT232R USB UART", "A907XYZ", "ftdi_sio");
  AddBuiltinPort("ttyS0", "4");  // a 16550A
  AddBuiltinPort("ttyS1", "0");  // a node without hardware
  AddBuiltinPort("ttyS2", "0");
  g_free(umockdev_testbed_add_device(bed_, "tty", "tty1", nullptr, "dev", "4:1", nullptr, "DEVNAME",
                                     "/dev/tty1", nullptr));

  const std::vector<SerialDevice> devices = ListSerialDevices();
  ASSERT_EQ(devices.size(), 2u);
  const SerialDevice& builtin = devices[0];
  EXPECT_EQ(builtin.path, "/dev/ttyS0");
  EXPECT_FALSE(builtin.usb);
  EXPECT_EQ(builtin.StableName(), "/dev/ttyS0");
  const SerialDevice& adapter = devices[1];
  EXPECT_EQ(adapter.path, "/dev/ttyUSB0");
  EXPECT_EQ(adapter.by_id, "/dev/serial/by-id/usb-FTDI_A907XYZ-if00-port0");
  EXPECT_EQ(adapter.StableName(), adapter.by_id);
  EXPECT_EQ(DeviceDescription(adapter), "FTDI FT232R USB UART (0403:6001, ftdi_sio)");
  EXPECT_EQ(adapter.serial, "A907XYZ");
  EXPECT_TRUE(adapter.usb);
}

TEST(DeviceAccessTest, NoAccessGivesTheExactCommandNeverAnErrno) {
  SerialDevice device;
  device.path = "/dev/ttyUSB0";
  device.usb = true;
  device.group = "dialout";
  EXPECT_EQ(AccessText(device),
            "нет доступа, выполните: sudo usermod -aG dialout $USER и войдите в систему заново");
  EXPECT_EQ(DeviceLine(device),
            "/dev/ttyUSB0\t-\tUSB-адаптер\tнет доступа, выполните: sudo usermod -aG dialout "
            "$USER и войдите в систему заново");
  device.usb = true;
  device.accessible = true;
  device.product = "CP2102 USB to UART Bridge Controller";
  device.driver = "cp210x";
  EXPECT_EQ(DeviceLine(device),
            "/dev/ttyUSB0\t-\tCP2102 USB to UART Bridge Controller (cp210x)\tдоступ есть");
}

}  // namespace
}  // namespace zrm

namespace zrm {
namespace {

// Arrivals and departures come through the monitor's descriptor as umockdev
// sends them; the news names the device by node and by its links.
TEST(DeviceMonitorTest, TellsArrivalAndDepartureByNodeAndLinks) {
  UMockdevTestbed* bed = umockdev_testbed_new();
  if (!umockdev_in_mock_environment()) GTEST_SKIP() << "needs umockdev's preload library";
  DeviceMonitor monitor;
  ASSERT_GE(monitor.Fd(), 0);
  EXPECT_FALSE(monitor.Receive().has_value());  // nothing pending: no wait
  const std::string by_id = "/dev/serial/by-id/usb-FTDI_A907XYZ-if00-port0";
  gchar* tty =
      umockdev_testbed_add_device(bed, "tty", "ttyUSB3", nullptr, "dev", "188:3", nullptr,
                                  "DEVNAME", "/dev/ttyUSB3", "DEVLINKS", by_id.c_str(), nullptr);
  umockdev_testbed_uevent(bed, tty, "add");
  umockdev_testbed_uevent(bed, tty, "remove");
  std::vector<DeviceEvent> events;
  for (int tries = 0; tries < 200 && (events.empty() || events.back().arrived); ++tries) {
    pollfd ready{monitor.Fd(), POLLIN, 0};
    if (::poll(&ready, 1, 10) > 0)
      if (auto event = monitor.Receive()) events.push_back(*event);
  }
  ASSERT_GE(events.size(), 2u);
  EXPECT_TRUE(events[0].arrived);
  EXPECT_TRUE(events[0].Names("/dev/ttyUSB3"));
  EXPECT_TRUE(events[0].Names(by_id));
  EXPECT_FALSE(events[0].Names("/dev/ttyUSB0"));
  EXPECT_FALSE(events[0].Names(""));
  EXPECT_FALSE(events.back().arrived);
  EXPECT_TRUE(events.back().Names(by_id));
  g_free(tty);
  g_object_unref(bed);
}

}  // namespace
}  // namespace zrm
