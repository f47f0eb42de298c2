// SPDX-License-Identifier: GPL-3.0-or-later
// How the code above the preset documents reports a failure: an Outcome holds what was asked
// for, or else the problem, a sentence (or the end of one) that says why it could not be had.
// Code that can fail returns an Outcome; padloomctl turns them into exit codes at its edge.
//
//     Outcome<std::string> folder = presetFolder();
//     if (!folder) {
//         return Problem{"No preset was made. " + folder.problem()};
//     }
//     use(*folder);
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace padloom {

// Why something could not be done; converts to a failed Outcome of any kind.
struct Problem {
    std::string text;
};

template <class T = void> class Outcome {
public:
    Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Outcome(Problem problem) : state_(std::in_place_index<1>, std::move(problem.text)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    T value_or(T other) const { return *this ? **this : std::move(other); }
    // Empty when it was done.
    const std::string& problem() const { return state_.index() == 1 ? std::get<1>(state_) : none_; }

private:
    std::variant<T, std::string> state_;
    static inline const std::string none_;
};

template <> class Outcome<void> {
public:
    Outcome() = default; // done
    Outcome(Problem problem) : failed_(true), problem_(std::move(problem.text)) {}

    explicit operator bool() const { return !failed_; }
    // Empty when it was done.
    const std::string& problem() const { return problem_; }

private:
    bool failed_ = false;
    std::string problem_;
};

// A failed Outcome's problem, to hand on as the problem of another.
template <class T> Problem problemOf(const Outcome<T>& outcome) {
    return Problem{outcome.problem()};
}

} // namespace padloom
