#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/main_window.h"
#include "common/scriptedprompts.h"
#include "common/testenv.h"
#include "link/simulatedport.h"
#include "support/virtualclock.h"

/// A main window on virtual time, simulated ports and scripted prompts, with its settings
/// and documents in a temporary home.
class MainWindowTest : public ::testing::Test {
protected:
    void createWindow(const QStringList& commandLine = {}) {
        window = std::make_unique<TfrmMain>(clock, ports, prompts, commandLine);
    }
    void TearDown() override {
        window.reset();
        EXPECT_TRUE(prompts.unexpected().isEmpty())
            << prompts.unexpected().join(QStringLiteral("; ")).toStdString();
    }
    template <typename T = QObject>
    T* find(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    TestHome home;
    VirtualClock clock;
    SimulatedPortProvider ports{clock};
    ScriptedPrompts prompts;
    std::unique_ptr<TfrmMain> window;
};
