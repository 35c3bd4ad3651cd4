#pragma once
// How a list control's index and a record value correspond. A list never
// shows or yields anything outside its items: a value without an item shows
// no selection, and a list without a selection leaves its field as it is.

#include <cstddef>
#include <cstdint>

namespace zrm {

// What item 0 of a numbered list stands for.
inline constexpr int kCountListOffset = 1;      // "1".."10": ns, search
inline constexpr int kIntervalListOffset = 10;  // "10".."240": reg_int
inline constexpr int kPulseListOffset = 5;      // "5".."60": pulse_int
inline constexpr int kPortListOffset = 1;       // "1".."4": port number

// The list index that shows `value` in a list whose item i stands for
// i + offset; -1 when the list has no such item.
int ListIndexOf(std::int32_t value, int offset, std::size_t item_count);

// Stores index + offset into `field` when `index` selects an item; leaves
// `field` unchanged for no selection (-1) or an index outside the list.
void CollectListIndex(int index, int offset, std::size_t item_count, std::int32_t& field);

// Set point type code of a set point type list index: 1 and 2 select their
// type, no selection and "Нет" give 0.
std::int32_t SetpointTypeCode(int index);

// List index that shows a set point type code: 1 and 2 their item, 3 no
// selection (the list has no such item), every other code "Нет".
int SetpointTypeIndex(std::int32_t code);

}  // namespace zrm
