#include "settings/written_parameters.h"

#include <bit>
#include <span>

namespace zrm {

namespace {

void AddChannel(int k, std::vector<WrittenParameter>& out) {
  for (const ChannelParameter& row : kChannelParameters) out.push_back({k, row.field, nullptr});
}

void AddBytes(std::span<const DeviceByteParameter> rows, std::vector<WrittenParameter>& out) {
  for (const DeviceByteParameter& row : rows) out.push_back({0, ChannelField::kDat, &row});
}

}  // namespace

std::vector<WrittenParameter> ParametersWrittenFor(const DeviceSettings& s) {
  std::vector<WrittenParameter> out;
  for (int k = 0; k < 2; ++k)
    if (s.channel[k].select != 0) AddChannel(k, out);
  if (s.relay.select == 1) AddBytes(kRelayLogicParameters, out);
  AddBytes(kRegulatorParameters, out);
  if (s.general.gen_select != 0) {
    for (const DeviceByteParameter& row : kGeneralParameters)
      if (!row.write_text.empty()) out.push_back({0, ChannelField::kDat, &row});
  }
  return out;
}

std::uint32_t ByteOnWire(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return v > 255u ? 255u : v;
}

bool ParameterDiffers(const WrittenParameter& p, const DeviceSettings& instrument,
                      const DeviceSettings& target) {
  if (p.device_byte)
    return ByteOnWire(FieldOf(instrument, p.device_byte->field)) !=
           ByteOnWire(FieldOf(target, p.device_byte->field));
  const ChannelParameter& row = ChannelParameterOf(p.field);
  const ChannelSettings& a = instrument.channel[p.channel];
  const ChannelSettings& b = target.channel[p.channel];
  if (row.width == ParameterWidth::kByte)
    return ByteOnWire(a.*row.byte_field) != ByteOnWire(b.*row.byte_field);
  return std::bit_cast<std::uint32_t>(a.*row.float_field) !=
         std::bit_cast<std::uint32_t>(b.*row.float_field);
}

std::vector<WrittenParameter> ChangedParameters(const DeviceSettings& instrument,
                                                const DeviceSettings& target) {
  std::vector<WrittenParameter> changed;
  for (const WrittenParameter& p : ParametersWrittenFor(target))
    if (ParameterDiffers(p, instrument, target)) changed.push_back(p);
  return changed;
}

}  // namespace zrm
