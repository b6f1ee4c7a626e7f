// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#pragma once

#include <QtGlobal>

// The pseudo-states a widget is drawn in, as the bits the cascade compares with the
// states a selector names. The values are the toolkit's own (rulecascade.cpp
// asserts it), so a state can be handed to its style selector as it is.
namespace PseudoState {
constexpr quint64 Enabled = Q_UINT64_C(0x0000000000000001);
constexpr quint64 Disabled = Q_UINT64_C(0x0000000000000002);
constexpr quint64 Pressed = Q_UINT64_C(0x0000000000000004);
constexpr quint64 Focus = Q_UINT64_C(0x0000000000000008);
constexpr quint64 Hover = Q_UINT64_C(0x0000000000000010);
constexpr quint64 Checked = Q_UINT64_C(0x0000000000000020);
constexpr quint64 Unchecked = Q_UINT64_C(0x0000000000000040);
constexpr quint64 Indeterminate = Q_UINT64_C(0x0000000000000080);
constexpr quint64 Selected = Q_UINT64_C(0x0000000000000200);
constexpr quint64 Horizontal = Q_UINT64_C(0x0000000000000400);
constexpr quint64 Vertical = Q_UINT64_C(0x0000000000000800);
constexpr quint64 Window = Q_UINT64_C(0x0000000000001000);
constexpr quint64 Default = Q_UINT64_C(0x0000000000008000);
constexpr quint64 Flat = Q_UINT64_C(0x0000000000400000);
constexpr quint64 Frameless = Q_UINT64_C(0x0000000020000000);
constexpr quint64 ReadOnly = Q_UINT64_C(0x0000000040000000);
constexpr quint64 Active = Q_UINT64_C(0x0000000080000000);
constexpr quint64 On = Q_UINT64_C(0x0000002000000000);
constexpr quint64 Off = Q_UINT64_C(0x0000004000000000);
constexpr quint64 Editable = Q_UINT64_C(0x0000008000000000);
constexpr quint64 Closed = Q_UINT64_C(0x0000020000000000);
constexpr quint64 Open = Q_UINT64_C(0x0000040000000000);
} // namespace PseudoState
