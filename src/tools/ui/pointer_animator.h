#pragma once

#include <QObject>
#include <QTimer>
#include <vector>

#include "app/editor_model.h"
#include "tools/pointer_animation.h"

namespace palvex::ui {

class CVemmarView;

// The rings of moving dots round the barrier point or side under the pointer. They are pointer
// feedback of the canvas: each tick puts back the frame under the previous dots and draws the
// next ones, so nothing of the image or the transforms is touched.
class PointerAnimator final : public QObject {
    Q_OBJECT

public:
    PointerAnimator(EditorModel& model, CVemmarView& view, QObject* parent = nullptr);
    ~PointerAnimator() override;

    // The barrier's hover (mode 5): keeps, stops or starts the animation for what lies under
    // the pointer.
    void HoverBarrier(int target, Point client, bool selected);
    bool Start(Point client);
    void Stop();
    bool Running() const { return target_ != kNoTarget; }
    int Target() const { return target_; }
    const AnimationRings& Rings() const { return rings_; }
    const QTimer& Timer() const { return timer_; }

    // One step: the dots at the rings' phases, then the phases move on.
    void Tick();

    // Makes the generator for each start; tests give fixed sequences.
    std::function<RingRandom()> makeRandom = TimeSeededRandom;

    static constexpr int kNoTarget = -1;
    static constexpr int kSideTarget = -3;
    static constexpr int kInsideTarget = -2;

private:
    EditorModel& model_;
    CVemmarView& view_;
    QTimer timer_;
    AnimationRings rings_;
    std::vector<RingDot> dots_;  // reused: a tick allocates nothing
    int target_ = kNoTarget;
};

}  // namespace palvex::ui
