// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation benchmarks keep SDL and a virtual joystick open while they run; the live
// measurements that follow start SDL afresh, so main closes the evaluation's first.
#pragma once

namespace padloom::bench {

void closeEvaluationRig();

} // namespace padloom::bench
