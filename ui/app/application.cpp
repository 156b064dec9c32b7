#include "app/application.h"

#include "grid/db_grid.h"
#include "models/data_link.h"
#include "windows/uAbout.h"
#include "windows/uAdvanced.h"
#include "windows/uMain.h"
#include "windows/uSettings.h"
#include "windows/uStat.h"

namespace tally::ui {

Application::Application(const QString& appDir) {
    fMain_ = std::make_unique<TfMain>(settings_, fightSettings_, appDir);
    AnalysisTables& tables = fMain_->tables();
    fStat_ = std::make_unique<TfStat>(tables.mtSkills, tables.mtDots, fMain_->images());

    SettingsWindowHooks hooks;
    hooks.setDotColumnsVisible = [this](bool visible) { fMain_->grid()->setDotColumnsVisible(visible); };
    hooks.setMobsHidden = [this](bool hidden) { fMain_->SetMobsHidden(hidden); };
    hooks.showSkillList = [this] { fStat_->ShowSkillList(fMain_->OuterGeometry()); };
    hooks.showDotList = [this] { fStat_->ShowDotList(fMain_->OuterGeometry()); };
    fSettings_ = std::make_unique<TfSettings>(settings_, fightSettings_, std::move(hooks));

    fAbout_ = std::make_unique<TfAbout>();
    fAdvanced_ = std::make_unique<TfAdvanced>(tables.mtAdv, fMain_->images());
    fAdvanced_->FormCreate(fMain_->OuterGeometry());

    // Only the main window keeps the program running: closing it ends the program even while an
    // auxiliary window is open.
    for (QWidget* window : {static_cast<QWidget*>(fStat_.get()), static_cast<QWidget*>(fSettings_.get()),
                            static_cast<QWidget*>(fAbout_.get()), static_cast<QWidget*>(fAdvanced_.get())})
        window->setAttribute(Qt::WA_QuitOnClose, false);
    fMain_->AttachWindows(fStat_.get(), fSettings_.get(), fAbout_.get(), fAdvanced_.get());
}

Application::~Application() = default;

void Application::ShowMainWindow() {
    fMain_->show();
}

}  // namespace tally::ui
