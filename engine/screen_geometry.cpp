// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/screen_geometry.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace padloom {
namespace {

// One computed picture of the screen space: the confinement box and its blocked rectangles.
// Never changed once published, so a motion step sees one whole computation or the one before.
struct Snapshot {
    SDL_Rect bounds{0, 0, 0, 0};
    int32_t right = 0;  // last column inside the box
    int32_t bottom = 0; // last row inside the box
    int32_t displayCount = 1;
    std::vector<SDL_Rect> blocked; // half-open rectangles; their order matters to confinement
};

// Hands the current snapshot to readers without ever making them wait or lock.
//
// A computation publishes a new snapshot with one pointer exchange and frees the one it replaced
// only when no reader can still hold it. Readers announce themselves on one of two counters, picked
// by the parity of an epoch number; after publishing, the computation advances the epoch and waits
// for the counter of the epoch it left to drain. A reader that saw the epoch change while it was
// announcing itself withdraws and announces again, so a reader that may hold the old snapshot is
// always counted on the counter being drained, and readers that arrive later count on the other
// one: the wait lasts at most one reader's short walk. Readers touch only atomics, never allocate
// and never free. Computations must not overlap each other (the owner serialises them).
class SnapshotPublisher {
public:
    class Lease {
    public:
        Lease(std::atomic<int32_t>& counter, const Snapshot& snapshot)
            : counter_(counter), snapshot_(snapshot) {}
        ~Lease() { counter_.fetch_sub(1); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        const Snapshot& operator*() const { return snapshot_; }
        const Snapshot* operator->() const { return &snapshot_; }

    private:
        std::atomic<int32_t>& counter_;
        const Snapshot& snapshot_;
    };

    SnapshotPublisher() : current_(new Snapshot) {}
    ~SnapshotPublisher() { delete current_.load(); }
    SnapshotPublisher(const SnapshotPublisher&) = delete;
    SnapshotPublisher& operator=(const SnapshotPublisher&) = delete;

    Lease read() {
        for (;;) {
            const uint32_t epoch = epoch_.load();
            std::atomic<int32_t>& counter = readers_[epoch & 1];
            counter.fetch_add(1);
            if (epoch_.load() == epoch) {
                return Lease(counter, *current_.load());
            }
            counter.fetch_sub(1);
        }
    }

    void publish(std::unique_ptr<Snapshot> next) {
        Snapshot* previous = current_.exchange(next.release());
        const uint32_t left = epoch_.fetch_add(1);
        while (readers_[left & 1].load() != 0) {
            std::this_thread::yield();
        }
        delete previous;
    }

private:
    std::atomic<Snapshot*> current_;
    std::atomic<uint32_t> epoch_{0};
    std::atomic<int32_t> readers_[2] = {0, 0};
};

void finishBox(Snapshot& s) {
    s.right = s.bounds.x + s.bounds.w - 1;
    s.bottom = s.bounds.y + s.bounds.h - 1;
}

// The four 3 by 3 zones that keep the cursor out of a display's corners.
void appendCornerZones(std::vector<SDL_Rect>& blocked, const SDL_Rect& d) {
    blocked.push_back({d.x, d.y, 3, 3});
    blocked.push_back({d.x, d.y + d.h - 3, 3, 3});
    blocked.push_back({d.x + d.w - 3, d.y, 3, 3});
    blocked.push_back({d.x + d.w - 3, d.y + d.h - 3, 3, 3});
}

// A run of uncovered columns found after a display's span: the first rectangle that ends on the
// row above with the same columns grows by one row; otherwise the run starts a new rectangle.
void addRunBeforeSpan(std::vector<SDL_Rect>& blocked, int32_t col, int32_t row, int32_t width) {
    for (SDL_Rect& r : blocked) {
        if (r.x == col && r.w == width && r.y + r.h == row) {
            ++r.h;
            return;
        }
    }
    blocked.push_back({col, row, width, 1});
}

// The run that ends a row: every matching rectangle ending on the row above grows.
void addRunToRowEnd(std::vector<SDL_Rect>& blocked, int32_t col, int32_t row, int32_t width) {
    bool grown = false;
    for (SDL_Rect& r : blocked) {
        if (r.x == col && r.w == width && r.y + r.h == row) {
            ++r.h;
            grown = true;
        }
    }
    if (!grown) {
        blocked.push_back({col, row, width, 1});
    }
}

// Records, row by row, the runs of the box that no display covers, merging each run with the same
// run of the row above. Every span a display covers leaves a zero-width run at its left edge; the
// caller removes those. Displays must be sorted by x.
void scanGaps(const std::vector<SDL_Rect>& displays, const Snapshot& box, std::vector<SDL_Rect>& blocked) {
    for (int32_t row = box.bounds.y; row <= box.bottom; ++row) {
        int32_t col = box.bounds.x;
        while (col <= box.right) {
            bool hit = false;
            for (const SDL_Rect& d : displays) {
                int x1 = col, y1 = row, x2 = box.right, y2 = row;
                if (!SDL_IntersectRectAndLine(&d, &x1, &y1, &x2, &y2)) {
                    continue;
                }
                addRunBeforeSpan(blocked, col, row, x1 - col);
                col = x2 + 1;
                hit = true;
            }
            if (!hit) {
                addRunToRowEnd(blocked, col - 1, row, box.right - col + 2);
                break;
            }
            ++col;
        }
    }
}

std::unique_ptr<Snapshot> mainDisplayPicture(DisplaySource& source, bool avoidCorners, int32_t displayCount) {
    auto s = std::make_unique<Snapshot>();
    s->displayCount = displayCount;
    source.displayBounds(0, &s->bounds);
    finishBox(*s);
    if (avoidCorners) {
        // Placed from the global origin, which is the main display's top-left corner.
        appendCornerZones(s->blocked, {0, 0, s->bounds.w, s->bounds.h});
    }
    return s;
}

// The box grows by each display's size; where a display overlaps the one listed before it, the
// overlap is taken off again. Only neighbours in enumeration order are compared, so the box can be
// larger than the union of the displays; the gap scan blocks the excess.
void growBox(SDL_Rect& box, const SDL_Rect& display, const SDL_Rect* previous) {
    box.w += display.w;
    box.h += display.h;
    if (previous != nullptr) {
        SDL_Rect overlap{0, 0, 0, 0};
        if (ScreenGeometry::overlapX(&display, previous, &overlap)) {
            box.w -= overlap.w;
        }
        if (ScreenGeometry::overlapY(&display, previous, &overlap)) {
            box.h -= overlap.h;
        }
    }
    box.x = std::min(box.x, display.x);
    box.y = std::min(box.y, display.y);
}

std::unique_ptr<Snapshot> allDisplaysPicture(DisplaySource& source, bool avoidCorners) {
    auto s = std::make_unique<Snapshot>();
    s->displayCount = source.displayCount();
    std::vector<SDL_Rect> displays;
    for (int32_t i = 0; i < s->displayCount; ++i) {
        SDL_Rect d{0, 0, 0, 0};
        source.displayBounds(i, &d);
        displays.push_back(d);
        growBox(s->bounds, d, i > 0 ? &displays[i - 1] : nullptr);
    }
    finishBox(*s);
    if (s->displayCount >= 2) {
        std::stable_sort(displays.begin(), displays.end(),
                         [](const SDL_Rect& a, const SDL_Rect& b) { return a.x < b.x; });
        scanGaps(displays, *s, s->blocked);
        std::erase_if(s->blocked, [](const SDL_Rect& r) { return r.w <= 0; });
    }
    if (avoidCorners) {
        for (const SDL_Rect& d : displays) {
            appendCornerZones(s->blocked, d);
        }
    }
    return s;
}

// Clamps v into [low, high]. A value that is not a number lands on low rather than passing through.
float clampToRange(float v, int32_t low, int32_t high) {
    if (!(v >= static_cast<float>(low))) {
        return static_cast<float>(low);
    }
    if (v > static_cast<float>(high)) {
        return static_cast<float>(high);
    }
    return v;
}

// Truncates toward zero like a C cast, but saturates instead of overflowing.
int32_t truncateSaturated(float v) {
    if (!(v > -2147483648.0f)) {
        return std::isnan(v) ? 0 : INT32_MIN;
    }
    if (v >= 2147483648.0f) {
        return INT32_MAX;
    }
    return static_cast<int32_t>(v);
}

// Moves a point that lies inside r back to the side of r that the cursor came from (ox, oy). On an
// axis on which the cursor already stood within r, the point is left as it is.
void pushOut(const SDL_Rect& r, int32_t ox, int32_t oy, float& nx, float& ny) {
    if (!(nx >= r.x && nx < r.x + r.w && ny >= r.y && ny < r.y + r.h)) {
        return;
    }
    if (ox < r.x) {
        nx = static_cast<float>(r.x - 1);
    } else if (ox >= r.x + r.w) {
        nx = static_cast<float>(r.x + r.w);
    }
    if (oy < r.y) {
        ny = static_cast<float>(r.y - 1);
    } else if (oy >= r.y + r.h) {
        ny = static_cast<float>(r.y + r.h);
    }
}

} // namespace

struct ScreenGeometry::State {
    SnapshotPublisher publisher;
    std::mutex computing; // computations one at a time; readers never take it
};

ScreenGeometry::ScreenGeometry() : state_(new State) {}

ScreenGeometry::~ScreenGeometry() {
    delete state_;
}

void ScreenGeometry::computeMainDisplay(DisplaySource& displays, bool avoidCorners) {
    std::lock_guard lock(state_->computing);
    const int32_t count = state_->publisher.read()->displayCount;
    state_->publisher.publish(mainDisplayPicture(displays, avoidCorners, count));
}

void ScreenGeometry::computeAllDisplays(DisplaySource& displays, bool avoidCorners) {
    std::lock_guard lock(state_->computing);
    state_->publisher.publish(allDisplaysPicture(displays, avoidCorners));
}

CursorPoint ScreenGeometry::confinePoint(float cx, float cy, float dx, float dy) const {
    const auto s = state_->publisher.read();
    float ny = clampToRange(cy + dy, s->bounds.y, s->bottom);
    float nx = clampToRange(cx + dx, s->bounds.x, s->right);
    if (!s->blocked.empty()) {
        const int32_t ox = truncateSaturated(cx);
        const int32_t oy = truncateSaturated(cy);
        for (const SDL_Rect& r : s->blocked) {
            pushOut(r, ox, oy, nx, ny);
        }
    }
    return {nx, ny};
}

bool ScreenGeometry::overlapX(const SDL_Rect* a, const SDL_Rect* b, SDL_Rect* out) {
    if (a == nullptr || b == nullptr || out == nullptr || a->w < 1 || a->h < 1 || b->w < 1 || b->h < 1) {
        return false;
    }
    out->x = std::max(a->x, b->x);
    out->w = std::min(a->x + a->w, b->x + b->w) - out->x;
    return out->w > 0;
}

bool ScreenGeometry::overlapY(const SDL_Rect* a, const SDL_Rect* b, SDL_Rect* out) {
    if (a == nullptr || b == nullptr || out == nullptr || a->w < 1 || a->h < 1 || b->w < 1 || b->h < 1) {
        return false;
    }
    out->y = std::max(a->y, b->y);
    out->h = std::min(a->y + a->h, b->y + b->h) - out->y;
    return out->h > 0;
}

SDL_Rect ScreenGeometry::bounds() const {
    return state_->publisher.read()->bounds;
}

int ScreenGeometry::displayCount() const {
    return state_->publisher.read()->displayCount;
}

int ScreenGeometry::blockedRects(SDL_Rect* out, int max) const {
    const auto s = state_->publisher.read();
    const int count = static_cast<int>(s->blocked.size());
    for (int i = 0; i < count && i < max && out != nullptr; ++i) {
        out[i] = s->blocked[i];
    }
    return count;
}

} // namespace padloom
