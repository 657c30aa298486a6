#include "style_history.h"

#include <cstring>

#include <QApplication>
#include <QEvent>
#include <QUndoCommand>

#include "cp932_qstring.h"

namespace vakuro {

namespace {

bool sameRecord(const PavrexStyle& a, const PavrexStyle& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// All steps share one id; whether two merge is decided by their run.
constexpr int kStyleStepId = 1;

constexpr int kUndoLimit = 1000;

}  // namespace

// One step: the whole record before and after the change. The record is
// small (4148 bytes), so a step keeps it whole rather than its differences.
class StyleStep : public QUndoCommand {
public:
    StyleStep(StyleHistory& history, const PavrexStyle& before, const PavrexStyle& after, int run)
        : history_(history), before_(before), after_(after), run_(run) {}

    int id() const override { return kStyleStepId; }

    // Changes of one run (0: none) become one step; a run that comes back to
    // where it started leaves no step.
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const StyleStep*>(other);
        if (run_ == 0 || next->run_ != run_) return false;
        after_ = next->after_;
        setObsolete(sameRecord(before_, after_));
        return true;
    }

    // The change is in the record already when the step is pushed.
    void redo() override {
        if (pushed_) history_.restore(after_);
        pushed_ = true;
    }
    void undo() override { history_.restore(before_); }

private:
    StyleHistory& history_;
    PavrexStyle before_;
    PavrexStyle after_;
    const int run_;
    bool pushed_ = false;
};

StyleHistory::StyleHistory(ProgramState& state, QObject* parent) : QObject(parent), state_(state) {
    stack_.setObjectName(QStringLiteral("StyleHistory"));
    // Two records a step: a thousand steps keep about 8 MB.
    stack_.setUndoLimit(kUndoLimit);
    connect(&state_, &ProgramState::styleEditReported, this, &StyleHistory::recordEdit);
    connect(&state_, &ProgramState::styleEditRunEnded, this, &StyleHistory::endRun);
    qApp->installEventFilter(this);
}

StyleHistory::~StyleHistory() {
    // The steps refer to this history; they go first.
    stack_.clear();
}

void StyleHistory::start() {
    stack_.clear();
    last_ = state_.style;
    started_ = true;
    endRun();
}

void StyleHistory::recordEdit(const void* mergeKey) {
    if (!started_ || restoring_ || state_.redrawGuard < 0) return;
    if (sameRecord(state_.style, last_)) return;
    if (mergeKey == nullptr || mergeKey != runKey_) {
        runKey_ = mergeKey;
        run_ = mergeKey != nullptr ? nextRun_++ : 0;
    }
    const PavrexStyle before = last_;
    last_ = state_.style;
    stack_.push(new StyleStep(*this, before, last_, run_));
}

void StyleHistory::endRun() {
    runKey_ = nullptr;
    run_ = 0;
}

bool StyleHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) endRun();
    return QObject::eventFilter(watched, event);
}

void StyleHistory::restore(const PavrexStyle& record) {
    restoring_ = true;
    endRun();
    state_.style = record;
    if (state_.host != nullptr) {
        // Selecting the record's font runs the list's click handler, which
        // must neither draw before the record is complete nor change its
        // font field.
        const int guard = state_.redrawGuard;
        state_.redrawGuard = -1;
        state_.host->selectFontName(readFixedField(record.FontName, sizeof record.FontName).trimmed());
        std::memcpy(state_.style.FontName, record.FontName, sizeof record.FontName);
        state_.redrawGuard = guard < 0 ? guard : 0;
    }
    state_.draw();
    state_.tateYoko(state_.style.Vertical);
    state_.styleReplacedNotice();
    // What the drawing and the dialogs' reload made of the record is the
    // starting point of the next change.
    last_ = state_.style;
    restoring_ = false;
}

}  // namespace vakuro
