#include "settings/parameter_map.h"

namespace zrm {

namespace {

using CS = ChannelSettings;
using F = ChannelField;

constexpr ChannelParameter Byte(F field, int cell, std::int32_t CS::*member, ParameterAddress base,
                                ParameterAddress step, std::string_view read_text,
                                std::string_view write_text, std::string_view prepare_text = {}) {
  return {field, cell, ParameterWidth::kByte, base, step, read_text, write_text, prepare_text,
          member, nullptr};
}

constexpr ChannelParameter Float(F field, int cell, float CS::*member, ParameterAddress base,
                                 ParameterAddress step, std::string_view read_text,
                                 std::string_view write_text) {
  return {field, cell, ParameterWidth::kFloat, base, step, read_text, write_text, {}, nullptr,
          member};
}

constexpr RecordByte InChannel(int channel, std::int32_t CS::*member) {
  return {channel, member, nullptr, nullptr};
}
constexpr RecordByte InRelay(std::int32_t RelaySettings::*member) {
  return {0, nullptr, member, nullptr};
}
constexpr RecordByte InGeneral(std::int32_t GeneralSettings::*member) {
  return {0, nullptr, nullptr, member};
}

constexpr std::string_view kPolynomialRead = "Чтение корректирующего полинома";
constexpr std::string_view kPolynomialWrite = "Запись корректирующего полинома";

}  // namespace

// Rows in ChannelField order.
constexpr std::array<ChannelParameter, kChannelFieldCount> kChannelParameters = {{
    Byte(F::kDat, 0, &CS::dat, 315, 1, "Чтение типа датчика", "Запись типа датчика"),
    Float(F::kDiapMax, 1, &CS::diap_max, 15, 1, "Чтение максимума диапазона",
          "Запись максимума диапазона"),
    Float(F::kDiapMin, 2, &CS::diap_min, 13, 1, "Чтение минимума диапазона",
          "Запись минимума диапазона"),
    Byte(F::kFlag, 5, &CS::flag, 323, 1, "Чтение разрешения извлечения корня",
         "Запись разрешения извлечения корня"),
    Float(F::kAdj, 8, &CS::adj, 3, 1, "Подстройка диапазона", "Подстройка диапазона"),
    Float(F::kShift, 7, &CS::shift, 1, 1, "Чтение смещения", "Запись смещения"),
    Float(F::kTh1, 15, &CS::th1, 29, 4, "Чтение уставки 1", "Запись уставки 1"),
    Float(F::kHis1, 17, &CS::his1, 37, 4, "Чтение гистерезиса 1", "Запись гистерезиса уставки 1"),
    Byte(F::kThType1, 13, &CS::th_type1, 327, 4, "Чтение типа уставки 1", "Запись типа уставки 1",
         "Подготовка к смене уставки 1"),
    Float(F::kTh2, 16, &CS::th2, 30, 4, "Чтение уставки 2", "Запись уставки 2"),
    Float(F::kHis2, 18, &CS::his2, 38, 4, "Чтение гистерезиса уставки 2",
          "Запись гистерезиса уставки 2"),
    Byte(F::kThType2, 14, &CS::th_type2, 328, 4, "Чтение типа уставки 2", "Запись типа уставки 2",
         "Подготовка к изменению типа уставки 2"),
    Byte(F::kNs, 6, &CS::ns, 317, 1, "Чтение усреднения", "Запись усреднения"),
    Byte(F::kSearch, 19, &CS::search, 319, 1, "Чтение числа наблюдений", "Запись числа наблюдений"),
    Byte(F::kUse, 20, &CS::use, 341, 1, "Чтение исключения канала",
         "Запись разрешения работы канала"),
    Byte(F::kPoint, 21, &CS::point, 321, 1, "Чтение числа знаков после запятой",
         "Запись числа знаков после запятой"),
    Float(F::kSpdTh, 91, &CS::spd_th, 31, 4, "Чтение скорости изменения уставки",
          "Запись скорости изменения уставки"),
    Float(F::kSpdHis, 92, &CS::spd_his, 32, 4, "Чтение скорости изменения гистерезиса",
          "Запись скорости изменения гистерезиса"),
    Float(F::kKoef0, 9, &CS::koef0, 5, 4, kPolynomialRead, kPolynomialWrite),
    Float(F::kKoef1, 10, &CS::koef1, 6, 4, kPolynomialRead, kPolynomialWrite),
    Float(F::kKoef2, 11, &CS::koef2, 7, 4, kPolynomialRead, kPolynomialWrite),
    Float(F::kKoef3, 12, &CS::koef3, 8, 4, kPolynomialRead, kPolynomialWrite),
}};

const ChannelParameter& ChannelParameterOf(ChannelField field) {
  return kChannelParameters[static_cast<std::size_t>(field)];
}

ParameterAddress ChannelAddress(const ChannelParameter& p, int k) {
  return p.base + p.step * static_cast<ParameterAddress>(k);
}

constexpr std::array<DeviceByteParameter, 6> kRelayLogicParameters = {{
    {InChannel(0, &CS::ver_rel_proc), kSettingsSpace, 325, 0, {}, {}},
    {InChannel(1, &CS::ver_rel_proc), kSettingsSpace, 326, 0, {}, {}},
    {InRelay(&RelaySettings::rel0_msk0), kSettingsSpace, 6, 0, {}, {}},
    {InRelay(&RelaySettings::rel0_msk1), kSettingsSpace, 7, 0, {}, {}},
    {InRelay(&RelaySettings::rel1_msk0), kSettingsSpace, 8, 0, {}, {}},
    {InRelay(&RelaySettings::rel1_msk1), kSettingsSpace, 9, 0, {}, {}},
}};
constexpr GroupTexts kRelayLogicTexts = {"Чтение логики реле", "Запись логики реле"};

constexpr std::array<DeviceByteParameter, 4> kRegulatorParameters = {{
    {InChannel(0, &CS::reg_int), kSettingsSpace, 337, 0, {}, {}},
    {InChannel(1, &CS::reg_int), kSettingsSpace, 338, 0, {}, {}},
    {InChannel(0, &CS::pulse_int), kSettingsSpace, 339, 0, {}, {}},
    {InChannel(1, &CS::pulse_int), kSettingsSpace, 340, 0, {}, {}},
}};
constexpr GroupTexts kRegulatorTexts = {"Чтение параметров регулятора",
                                         "Запись параметров регулятора"};

constexpr std::array<DeviceByteParameter, 3> kSerialNumberParameters = {{
    {InGeneral(&GeneralSettings::serial_lo), kSettingsSpace, 11, 0, {}, {}},
    {InGeneral(&GeneralSettings::serial_hi), kSettingsSpace, 12, 0, {}, {}},
    {InGeneral(&GeneralSettings::otk_type), kSettingsSpace, 14, 0, {}, {}},
}};
constexpr std::string_view kSerialNumberText = "Читаем номер прибора";

// The instrument keeps the year as year - 2000.
constexpr std::array<DeviceByteParameter, 3> kManufacturingDateParameters = {{
    {InGeneral(&GeneralSettings::date_day), kSettingsSpace, 17, 0, {}, {}},
    {InGeneral(&GeneralSettings::date_month), kSettingsSpace, 18, 0, {}, {}},
    {InGeneral(&GeneralSettings::date_year), kSettingsSpace, 19, 2000, {}, {}},
}};

constexpr std::array<DeviceByteParameter, 3> kGeneralParameters = {{
    {InGeneral(&GeneralSettings::firmware_version), kSystemSpace, 6, 0, "Версия ПО прибора", {}},
    {InGeneral(&GeneralSettings::proc_ver), kSettingsSpace, 3, 0, "Тип прибора",
     "Записываем тип прибора"},
    {InGeneral(&GeneralSettings::err_ver), kSettingsSpace, 4, 0, "Вид отображения ошибки",
     "Записываем вид отображения ошибки"},
}};

constexpr std::array<FixedWrite, 2> kClosingWrites = {{
    {kSettingsSpace, 0, 47, "Тип прибора"},
    {kSystemSpace, 0, 1, "Отдается команда на перезагрузку прибора"},
}};

}  // namespace zrm
