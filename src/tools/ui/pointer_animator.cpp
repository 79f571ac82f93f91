#include "tools/ui/pointer_animator.h"

#include <QPainter>
#include <QPen>

#include "canvas/ui/vemmar_view.h"

namespace palvex::ui {

PointerAnimator::PointerAnimator(EditorModel& model, CVemmarView& view, QObject* parent)
    : QObject(parent), model_(model), view_(view) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PointerAnimator::Tick);
    dots_.reserve(kMaxRings * kDotsPerRing);
}

PointerAnimator::~PointerAnimator() {
    if (Running()) {
        view_.ForgetPointerOverlay();  // its drawing must not outlive this object
    }
}

void PointerAnimator::HoverBarrier(int target, Point client, bool selected) {
    if (target == kNoTarget || target == kInsideTarget) {
        Stop();
        return;
    }
    if (Running()) {
        if (target_ != target) {
            Stop();  // the next move over the new target starts its own rings
        }
        return;
    }
    if (model_.settings.animationRings >= 1 && !selected && Start(client)) {
        target_ = target;
    }
}

bool PointerAnimator::Start(Point client) {
    const std::optional<AnimationRings> rings =
        StartCanvasRings(client, ClampRingCount(model_.settings.animationRings), makeRandom());
    if (!rings) {
        return false;
    }
    rings_ = *rings;
    timer_.start(AnimationPeriod(model_.settings.animationSpeed));
    // Running until a target is named; a start by hand counts as a side.
    target_ = kSideTarget;
    return true;
}

void PointerAnimator::Stop() {
    if (!Running() && !timer_.isActive()) {
        return;
    }
    timer_.stop();
    target_ = kNoTarget;
    view_.ErasePointerOverlay();
}

void PointerAnimator::Tick() {
    // Switched off while running: the timer goes on, but no dots are drawn until the stop.
    if (model_.settings.animationRings == 0) {
        view_.ErasePointerOverlay();
        return;
    }
    dots_.clear();
    for (int i = 0; i < rings_.count; ++i) {
        for (int j = 0; j < kDotsPerRing; ++j) {
            if (const auto dot = DotOf(rings_.rings[static_cast<std::size_t>(i)], j)) {
                dots_.push_back(*dot);
            }
        }
    }
    view_.DrawPointerOverlay(rings_.box, [this](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const RingDot& dot : dots_) {
            painter.setPen(QPen(QColor(RedOf(dot.colour), GreenOf(dot.colour), BlueOf(dot.colour)),
                                4, Qt::SolidLine, Qt::RoundCap));
            painter.drawPoint(dot.at.x, dot.at.y);
        }
    });
    AdvanceRings(rings_);
}

}  // namespace palvex::ui
