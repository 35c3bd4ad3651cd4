#include "editor/item_lists.h"

#include "settings/instrument_identity_text.h"
#include "settings/sensor_types.h"

namespace zrm {

namespace {

std::vector<std::string> Numbers(int from, int to, bool three_digits = false) {
  std::vector<std::string> items;
  for (int v = from; v <= to; ++v) {
    std::string text = std::to_string(v);
    if (three_digits && text.size() < 3) text.insert(0, 3 - text.size(), '0');
    items.push_back(text);
  }
  return items;
}

}  // namespace

const std::vector<std::string>& PortItems() {
  static const std::vector<std::string> kItems = Numbers(1, 4);
  return kItems;
}

const std::vector<std::string>& SensorTypeItems() {
  static const std::vector<std::string> kItems(kSensorTypeNames.begin(), kSensorTypeNames.end());
  return kItems;
}

const std::vector<std::string>& SetpointTypeItems() {
  static const std::vector<std::string> kItems = {"Нет", "Понижение", "Повышение"};
  return kItems;
}

const std::vector<std::string>& StepItems() {
  static const std::vector<std::string> kItems = {"0.001", "0.01", "0.1", "1.0", "10.0"};
  return kItems;
}

const std::vector<std::string>& DigitItems() {
  static const std::vector<std::string> kItems = Numbers(0, 3);
  return kItems;
}

const std::vector<std::string>& CountItems() {
  static const std::vector<std::string> kItems = Numbers(1, 10);
  return kItems;
}

const std::vector<std::string>& IntervalItems() {
  static const std::vector<std::string> kItems = Numbers(10, 240);
  return kItems;
}

const std::vector<std::string>& PulseItems() {
  static const std::vector<std::string> kItems = Numbers(5, 60);
  return kItems;
}

const std::vector<std::string>& DeviceTypeItems() {
  static const std::vector<std::string> kItems(kDeviceTypeNames.begin(), kDeviceTypeNames.end());
  return kItems;
}

const std::vector<std::string>& ErrorDisplayItems() {
  static const std::vector<std::string> kItems = {"Упрощенное", "Расширенное"};
  return kItems;
}

const std::vector<std::string>& PrefixItems() {
  static const std::vector<std::string> kItems = Numbers(0, 255, true);
  return kItems;
}

const std::vector<std::string>& RelayGridRowCaptions() {
  static const std::vector<std::string> kItems = {"Реле", "    1", "    2"};
  return kItems;
}

const std::vector<std::string>& SetpointGridCaptions() {
  static const std::vector<std::string> kItems = {
      "Уставка", " 1", " 2", "Обр.", " 1", " 2", "Обр.", "Закр.", "Откр.", "Напр.", "Импульс"};
  return kItems;
}

}  // namespace zrm
