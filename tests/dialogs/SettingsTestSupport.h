#pragma once

// A settings sheet's surroundings in a temporary folder: a memory profile, scripted answers, the
// user's folders and an application cache of settings (a map) that records what was written to it.

#include "dialogs/SettingsServices.h"
#include "platform/Profile.h"
#include "platform/Questions.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace kov::test {

struct SettingsRig {
    TempFolder temp;
    kov::platform::MemoryProfile profile;
    kov::platform::ScriptedQuestions questions;
    std::map<std::string, int> cache;        // the application's cached settings
    std::map<std::string, int> cacheWrites;  // what went through the cache
    kov::dialogs::SettingsServices services;

    SettingsRig()
    {
        services.profile = &profile;
        services.questions = &questions;
        services.folders = kov::platform::Folders::under(temp.file("installed"), temp.file("user"), temp.file("local"));
        services.folders.createWritableFolders();
        services.documentsFolder = temp.file("Documents");
        for (const char* key : {"app_tatamiheri", "app_roomtextsiro", "app_renzokusenbara", "app_printgrid", "app_sironuri",
                                "app_gazousita", "app_pattern_printbai", "app_hojonuriprt", "app_sirokuro_roomhachdel",
                                "app_printrealmode", "app_walpitaview", "app_walltyoku", "app_linetyoku", "app_autopita",
                                "app_autogridpita", "app_mousekyori", "app_gridallpita", "app_pen_cursor",
                                "app_cross_cursorbig", "app_zukeipropview", "app_undonum", "app_mousemovelisp"})
            cache[key] = 0;
        cache["app_undonum"] = 20;
        services.cachedValue = [this](std::string_view key) -> std::optional<int> {
            auto it = cache.find(std::string(key));
            if (it == cache.end()) return std::nullopt;
            return it->second;
        };
        services.writeCached = [this](std::string_view key, int value) {
            auto it = cache.find(std::string(key));
            if (it == cache.end()) return false;
            it->second = value;
            cacheWrites[std::string(key)] = value;
            profile.WriteProfileInt(key == "app_sirokuro_roomhachdel" || key == "app_zukeipropview" ? "KOV_T_PlotMenu"
                                                                                                     : "KOV_T_UTILITY",
                                    key, value);
            return true;
        };
    }

    int utility(const char* key, int fallback = -1) const { return profile.GetProfileInt("KOV_T_UTILITY", key, fallback); }
    int plotMenu(const char* key, int fallback = -1) const { return profile.GetProfileInt("KOV_T_PlotMenu", key, fallback); }
    std::filesystem::path roomFile() const { return services.folders.userData / "kovroom.txt"; }
    std::filesystem::path quotationFile() const { return services.folders.userData / "kovtex.txt"; }
};

inline std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeText(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace kov::test

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>
#include <memory>

namespace kov::test {

// Drives the next modal dialog once its exec() has shown it: `drive` gets it and ends it (accept or
// reject). A dialog that never comes fails the test that waited for it.
inline void whenModal(std::function<void(QDialog*)> drive)
{
    auto tries = std::make_shared<int>(0);
    auto timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, drive = std::move(drive)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 300) return;
        timer->stop();
        timer->deleteLater();
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog appeared";
            return;
        }
        drive(dialog);
    });
    timer->start();
}

} // namespace kov::test
