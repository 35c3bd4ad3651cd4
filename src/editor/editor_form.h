#pragma once
// The editor form: plain data mirroring every bound control of the main
// window. The window is a thin view over it: it copies these values into its
// widgets after every model operation and copies user edits back before the
// next one. EditorToSettings and SettingsToEditor move values between this
// form and DeviceSettings; no rule of the binding lives in the window.
//
// Conventions:
// - A list index of -1 means the list has no selected item (a stored code
//   without an item, or typed text that matches no item). The item lists are
//   those of editor/item_lists.h, in list order.
// - Number fields hold the text exactly as the field shows it, blanks
//   included (" 50.0000"); the step lists are read by their text.
// - Grid cells are indexed [row][column]; ToggleRelayCell(form, col, row)
//   receives them the other way round to match the grid's own (col, row).

#include <array>
#include <string>
#include <vector>


namespace zrm {

inline constexpr int kNoSelection = -1;

// The controls of one channel panel (Panel1 for channel 1, Panel2 for
// channel 2). Comments name the channel 1 / channel 2 control.
struct ChannelForm {
  std::string diap_max;  // Edit1 / Edit13 text
  std::string diap_min;  // Edit2 / Edit14 text
  std::string shift;     // Edit3 / Edit15 text
  std::string adj;       // Edit4 / Edit16 text
  std::string th1;       // Edit5 / Edit17 text
  std::string his1;      // Edit6 / Edit18 text
  std::string th2;       // Edit7 / Edit19 text
  std::string his2;      // Edit8 / Edit20 text
  std::string spd_th;    // ComboBox21 / ComboBox23 text (editable step list)
  std::string spd_his;   // ComboBox22 / ComboBox24 text (editable step list)

  int dat = kNoSelection;       // ComboBox1 / ComboBox7: SensorTypeItems()
  int th_type1 = kNoSelection;  // ComboBox2 / ComboBox8: SetpointTypeItems()
  int th_type2 = kNoSelection;  // ComboBox3 / ComboBox9: SetpointTypeItems()
  int ns = kNoSelection;        // ComboBox4 / ComboBox10: CountItems()
  int point = kNoSelection;     // ComboBox5 / ComboBox11: DigitItems()
  int search = kNoSelection;    // ComboBox6 / ComboBox12: CountItems()

  bool flag = false;  // CheckBox4 / CheckBox6 ticked (square root)

  bool operator==(const ChannelForm&) const = default;
};

inline constexpr int kGridColumns = 11;
inline constexpr int kRelayGridRows = 3;
// StringGrid1: row 0 the set point type names over columns 1, 2, 4, 5 and
// the fixed captions; rows 1 and 2 relay 1 and relay 2, columns 1..10 the
// events. A cell of rows 1-2, columns 1-10 is marked when its text is not
// empty (" *" when shown from the record, " +" when clicked).
using RelayGrid = std::array<std::array<std::string, kGridColumns>, kRelayGridRows>;
// StringGrid2: row 0 the fixed column captions, row 1 the set point values
// (columns 1, 2 channel 1 th1, th2; columns 4, 5 channel 2 th1, th2).
using SetpointGrid = std::array<std::array<std::string, kGridColumns>, 2>;

// The grids as the window sets them up: fixed captions, everything else empty.
RelayGrid RelayGridFixedCells();
SetpointGrid SetpointGridFixedCells();

struct EditorForm {
  // Page "Настройки каналов": channel 1 first.
  std::array<ChannelForm, 2> channel;

  // Page "Настройки реле".
  RelayGrid relay_grid = RelayGridFixedCells();        // StringGrid1
  SetpointGrid setpoint_grid = SetpointGridFixedCells();  // StringGrid2
  int reg_int = kNoSelection;    // ComboBox15: IntervalItems()
  int pulse_int = kNoSelection;  // ComboBox16: PulseItems()

  // Page "Общие".
  std::string firmware_version;  // Panel78 caption, "C.B.A"
  int proc_ver = kNoSelection;   // ComboBox19: DeviceTypeItems()
  int err_ver = kNoSelection;    // ComboBox20: ErrorDisplayItems()
  int otk_type = kNoSelection;   // ComboBox27: PrefixItems()
  std::string serial_number;     // Edit53 text (read-only for the user)

  // Top strip.
  std::string port_label;     // Label2 caption, the port number in digits
  int port = kNoSelection;    // ComboBox17: PortItems(), port number - 1
  std::vector<std::string> description;  // RichEdit1 lines

  // Background of the four group areas: true white (group switch on),
  // false the system button-face colour.
  bool channel1_area_white = false;  // Panel1
  bool channel2_area_white = false;  // Panel2
  bool relay_area_white = false;     // Panel77
  bool general_area_white = false;   // Panel71

  bool operator==(const EditorForm&) const = default;
};

}  // namespace zrm
