#include "editor/field_texts.h"

#include "editor/editor_number.h"

namespace zrm {

FieldTexts FieldTextsOf(const EditorForm& form, const DeviceSettings& s) {
  const ChannelForm& f1 = form.channel[0];
  const ChannelForm& f2 = form.channel[1];
  const ChannelSettings& c1 = s.channel[0];
  const ChannelSettings& c2 = s.channel[1];
  return FieldTexts{
      f1.diap_min, form.serial_number, f1.diap_max, f1.shift, f1.adj, f1.th1, f1.th2, f1.his1,
      f1.his2, f1.spd_th, f1.spd_his, FormatEditorNumber(c1.koef0), FormatEditorNumber(c1.koef1),
      FormatEditorNumber(c1.koef2), FormatEditorNumber(c1.koef3),
      f2.diap_min, f2.diap_max, f2.shift, f2.adj, f2.th1, f2.th2, f2.his1, f2.his2, f2.spd_th,
      f2.spd_his, FormatEditorNumber(c2.koef0), FormatEditorNumber(c2.koef1),
      FormatEditorNumber(c2.koef2), FormatEditorNumber(c2.koef3)};
}

}  // namespace zrm
