#pragma once
// Names of the tokens the engine sends to a network partner for every action that changes the
// table; the wire codec and the mirror read the same names, so they live in one place.

namespace velnora::token {

inline constexpr const char* kNewGame = "NewGame";
inline constexpr const char* kDeal = "Deal";
inline constexpr const char* kDraw = "Draw";
inline constexpr const char* kTakeTopCard = "TakeTop";
inline constexpr const char* kTakePile = "TakePile";
inline constexpr const char* kUndoTakePile = "UndoTake";
inline constexpr const char* kDiscard = "Discard";
inline constexpr const char* kDiscardRedThree = "DiscardRed3";
inline constexpr const char* kEndHand = "EndHand";
inline constexpr const char* kPass = "Pass";
inline constexpr const char* kMeld = "Meld";
inline constexpr const char* kWildcard = "Wildcard";
inline constexpr const char* kUndoMeld = "UndoMeld";

} // namespace velnora::token
