// A program state against fresh data and temporary folders, with a main
// window stand-in that records what the commands ask of it.
#pragma once

#include <memory>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include "files_ui.h"
#include "library_binding.h"
#include "program_paths.h"
#include "program_state.h"

namespace vakuro::testing {

class FakeHost : public MainWindowHost {
public:
    explicit FakeHost(ProgramState& state) : state_(state) {}
    QString text() const override { return text_; }
    void setText(const QString& text) override { text_ = text; }
    QString fontName() const override { return selected_; }
    bool selectFontName(const QString& face) override {
        selectCalls.append(face);
        if (!fonts.contains(face)) {
            selected_.clear();
            return false;
        }
        selected_ = face;
        if (state_.redrawGuard >= 0) state_.draw();
        return true;
    }
    bool selectFirstFont() override {
        if (fonts.isEmpty()) return false;
        return selectFontName(fonts.first());
    }
    void refreshFontList() override {
        ++refreshes;
        if (!fonts.contains(selected_)) selected_.clear();
    }
    void prepareTexture() override {}
    void renderTextImage(const QString&, int, const QString&, int, int) override {}
    QImage renderHolder() const override { return {}; }
    QWidget* ownerWindow() override { return nullptr; }

    QString text_;
    QString selected_;
    QStringList fonts{QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS UI Gothic"), QStringLiteral("IPAGothic")};
    QStringList selectCalls;
    int refreshes = 0;

private:
    ProgramState& state_;
};

class FilesFixture {
public:
    FilesFixture() {
        qputenv("VAKURO_HOME", home.path().toLocal8Bit());
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        QString error;
        bound = bindLibraries(QCoreApplication::applicationDirPath() + QLatin1Char('/'), libraries, error);
        if (!bound) qWarning("%s", qPrintable(error));
        state = std::make_unique<ProgramState>(libraries, SettingsPath());
        PavrexStyleDefaults(&state->style);
        host = std::make_unique<FakeHost>(*state);
        state->host = host.get();
        QObject::connect(state.get(), &ProgramState::drawRequested, [this] {
            ++draws;
            drawnStyles.push_back(state->style);
        });
        QObject::connect(state.get(), &ProgramState::layoutRequested, [this](int v) { layouts.append(v); });
        QObject::connect(state.get(), &ProgramState::styleReplaced, [this] { ++reloads; });
        setMessageFunction([this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text) {
            messages.append(title + QLatin1Char('|') + text);
            icons.append(icon);
        });
    }
    ~FilesFixture() {
        setMessageFunction({});
        setFileDialogFunction({});
    }

    QTemporaryDir home;
    QTemporaryDir temp;
    Libraries libraries;
    bool bound = false;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<FakeHost> host;
    int draws = 0;
    std::vector<PavrexStyle> drawnStyles;
    QList<int> layouts;
    int reloads = 0;
    QStringList messages;
    QList<QMessageBox::Icon> icons;
};

}  // namespace vakuro::testing
