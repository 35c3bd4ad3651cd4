// Discovery against recorded devices: umockdev's test bed stands in for
// sysfs and udev (the test runs with its preload library), so the real
// libudev code reads adapters and ports no machine here has.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <umockdev.h>
#include <unistd.h>

#include <fstream>
#include <memory>

#include "discovery/device_access.h"
#include "discovery/device_description.h"
#include "discovery/device_monitor.h"
#include "discovery/udev_serial_devices.h"
#include "lib/pseudo_terminal.h"
#include "platform/platform_texts.h"
#include "platform/serial_port.h"
#include "support/ordinary_user.h"
#include "support/recording_serial_control.h"

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

  // A tty whose device number is `device`'s (a pseudo-terminal's, which the
  // port really opens) on `parent`: the kernel's place for it in sysfs.
  void AddTtyOf(const std::string& device, const gchar* parent) {
    struct stat info{};
    ASSERT_EQ(::stat(device.c_str(), &info), 0);
    const std::string number =
        std::to_string(major(info.st_rdev)) + ":" + std::to_string(minor(info.st_rdev));
    // With its node named, the test bed links it under /sys/dev/char.
    g_free(umockdev_testbed_add_device(bed_, "tty", "ttyUSB0", parent, "dev", number.c_str(),
                                       nullptr, "DEVNAME", "/dev/ttyUSB0", nullptr));
  }

  // The sysfs folder of an FTDI adapter's port (usb-serial, where the
  // driver keeps latency_timer) on a USB device.
  std::string AddFtdiPort(const char* latency_ms) {
    gchar* usb = umockdev_testbed_add_device(bed_, "usb", "1-2", nullptr, "idVendor", "0403",
                                             nullptr, "DEVTYPE", "usb_device", nullptr);
    gchar* port = umockdev_testbed_add_device(bed_, "usb-serial", "ttyUSB0", usb, "latency_timer",
                                              latency_ms, nullptr, nullptr);
    std::string path = port;
    g_free(port);
    g_free(usb);
    return path;
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

TEST_F(UdevDiscoveryTest, UsbAdaptersAloneArePutIntoLowLatencyAndASlowTimerIsToldOnce) {
  using test::RecordingSerialControl;
  using Call = RecordingSerialControl::Call;
  const Call get{TIOCGSERIAL, 0};
  const Call low_latency{TIOCSSERIAL, ASYNC_LOW_LATENCY | ASYNC_SKIP_TEST};
  enum class Parent { kFtdi16, kFtdi1, kCdcAcm, kBuiltin, kNone };
  struct Row {
    Parent parent;
    int get_error;               // of TIOCGSERIAL
    std::vector<Call> calls;     // what the driver is asked
    const char* latency_after;   // what the port leaves in latency_timer; null: none there
  };
  const Row rows[] = {
      {Parent::kFtdi16, 0, {get, low_latency}, "1"},
      {Parent::kFtdi1, 0, {get, low_latency}, "1"},
      {Parent::kCdcAcm, 0, {get, low_latency}, nullptr},
      {Parent::kFtdi16, ENOTTY, {get}, "1"},  // no low-latency flag: the timer still goes down
      {Parent::kBuiltin, 0, {}, nullptr},
      {Parent::kNone, 0, {}, nullptr},  // a pseudo-terminal, which sysfs does not list
  };
  for (const Row& row : rows) {
    umockdev_testbed_clear(bed_);
    sim::PseudoTerminal pty;
    std::string reason;
    ASSERT_TRUE(pty.Open(reason)) << reason;
    std::string ftdi;
    switch (row.parent) {
      case Parent::kFtdi16: ftdi = AddFtdiPort("16"); AddTtyOf(pty.SlavePath(), ftdi.c_str()); break;
      case Parent::kFtdi1: ftdi = AddFtdiPort("1\n"); AddTtyOf(pty.SlavePath(), ftdi.c_str()); break;
      case Parent::kCdcAcm: {
        gchar* usb = umockdev_testbed_add_device(bed_, "usb", "1-3:1.0", nullptr, nullptr,
                                                 "DEVTYPE", "usb_interface", nullptr);
        AddTtyOf(pty.SlavePath(), usb);
        g_free(usb);
        break;
      }
      case Parent::kBuiltin: {
        gchar* uart = umockdev_testbed_add_device(bed_, "platform", "serial8250", nullptr,
                                                  nullptr, nullptr);
        AddTtyOf(pty.SlavePath(), uart);
        g_free(uart);
        break;
      }
      case Parent::kNone: break;
    }
    RecordingSerialControl driver;
    driver.driver_flags = ASYNC_SKIP_TEST;  // kept as the driver had it
    driver.get_serial_error = row.get_error;
    SerialPort port(driver);
    ASSERT_TRUE(port.Open(pty.SlavePath(), 9600, reason)) << reason;
    EXPECT_EQ(driver.calls, row.calls) << static_cast<int>(row.parent);
    // Root may lower the timer, so nothing is left to tell.
    EXPECT_EQ(port.TakeNotice(), "");
    if (row.latency_after) {
      std::ifstream timer(ftdi + "/latency_timer");
      std::string ms;
      timer >> ms;
      EXPECT_EQ(ms, row.latency_after) << static_cast<int>(row.parent);
    }
  }
}

TEST_F(UdevDiscoveryTest, ASlowTimerTheUserMayNotChangeIsToldOnceWithItsCostAndCommand) {
  sim::PseudoTerminal pty;
  std::string reason;
  ASSERT_TRUE(pty.Open(reason)) << reason;
  const std::string ftdi = AddFtdiPort("16");
  AddTtyOf(pty.SlavePath(), ftdi.c_str());
  const test::OrdinaryUser user = test::Nobody();
  if (::getuid() == 0) {
    // The user reads sysfs but may not write it, as on a real machine.
    gchar* root = umockdev_testbed_get_root_dir(bed_);  // ours to free
    const int changed = ::chmod(root, 0755);
    g_free(root);
    ASSERT_EQ(changed, 0);
    ASSERT_EQ(::chown(pty.SlavePath().c_str(), user.uid, user.gid), 0);
  }
  const std::string outcome = test::AsOrdinaryUser(user, [&] {
    test::RecordingSerialControl driver;
    SerialPort port(driver);
    std::string why;
    if (!port.Open(pty.SlavePath(), 9600, why)) return "open: " + why;
    std::string told = port.TakeNotice();
    // Opened again (a command, the adapter back after a pull): no news.
    if (!port.Reopen() || !port.Open(pty.SlavePath(), 9600, why)) return "reopen: " + why;
    return told + "|" + port.TakeNotice();
  });
  using namespace platform_texts;
  EXPECT_EQ(outcome, pty.SlavePath() + ": " + kLatencyTimerHolds + "16" + kLatencyTimerCost + ftdi +
                         "/latency_timer" + kLatencyTimerRule + "|");
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
