// SPDX-License-Identifier: GPL-3.0-or-later
// Short builders for bind records in tests: attachBind(buttonIn(3), keyOut(44)).
#pragma once

#include "preset/bind_records.h"

#include <cstdint>

namespace padloom::test {

inline BindInput buttonIn(uint32_t button) {
    return {InputKind::button, button, 0, 0};
}
inline BindInput axisIn(uint32_t axis, int32_t direction) {
    return {InputKind::axis, axis, direction, 0.42f};
}
inline BindInput hatIn(uint32_t hat, int32_t directionBit) {
    return {InputKind::hat, hat, directionBit, 0};
}

inline BindOutput keyOut(uint32_t keyNumber) {
    return {OutputKind::key, keyNumber, 0, 0};
}
inline BindOutput mouseButtonOut(uint32_t button) {
    return {OutputKind::mouseButton, button, 0, 0};
}
// code 0 horizontal, other vertical
inline BindOutput motionOut(uint32_t code, int32_t sign, float amount) {
    return {OutputKind::mouseMotion, code, sign, amount};
}
inline BindOutput wheelOut(uint32_t code, int32_t sign, float amount) {
    return {OutputKind::wheel, code, sign, amount};
}
inline BindOutput wheelStepOut(uint32_t code, int32_t sign) {
    return {OutputKind::wheelStep, code, sign, 6};
}

} // namespace padloom::test
