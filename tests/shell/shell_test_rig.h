#pragma once
// A main window started on fake services, with its own settings folder.

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "fake_services.h"
#include "shell/frm_main.h"

namespace vantrel::testing {

struct ShellRig {
    ShellRig() {
        ::setenv("XDG_CONFIG_HOME", home.path().toUtf8().constData(), 1);
        services.controllers.attached = {{"Pad", "id-a"}, {"Pad", "id-b"}};
        frm.endProgram = [this](int status) { ended.push_back(status); };
    }

    void WriteSettings(const std::string& text) {
        const std::filesystem::path dir = home.path().toStdString() + "/vantrel";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "config.ini") << text;
    }

    std::optional<int> Start() { return frm.Form_Load(services); }

    QTemporaryDir home;
    FakeServices services;
    frmMain frm;
    std::vector<int> ended;
};

}  // namespace vantrel::testing
