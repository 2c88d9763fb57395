#pragma once
// The tokens the engine sends to a network partner for every action that changes the table,
// spelt as they go on the wire; the wire codec and the mirror read the same names, so they live
// in one place.

namespace velnora::token {

inline constexpr const char* kNewGame = "NEWGAME";
// Payload: "1" when this copy's player draws first, else "0"; the network layer adds the
// stock order.
inline constexpr const char* kDeal = "DEAL";
inline constexpr const char* kDraw = "DRAWNEW";
inline constexpr const char* kTakeTopCard = "DRAWPILETOP";
inline constexpr const char* kTakePile = "DRAWPILEREST";
inline constexpr const char* kUndoTakePile = "UNDOPILE";
inline constexpr const char* kDiscard = "DISCARD";
inline constexpr const char* kDiscardRedThree = "DISCARDREDTHREE";
inline constexpr const char* kEndHand = "HANDOVER";
inline constexpr const char* kPass = "PASSDISCARD";
inline constexpr const char* kMeld = "MELD";
inline constexpr const char* kWildcard = "MELDWILDCARD";
inline constexpr const char* kUndoMeld = "UNDO";

// Separates the fields of a payload; it never occurs inside a field.
inline constexpr char kFieldSeparator = '\xFE';

} // namespace velnora::token
