#!/usr/bin/env python3
"""tools/check_floors.py on made-up trees: each kind of use, each direction, and what it must let pass."""
import os
import tempfile
import unittest

import check_floors


class Floors(unittest.TestCase):
    def tree(self, files):
        root = tempfile.TemporaryDirectory()
        self.addCleanup(root.cleanup)
        base = {
            "text/L.h": "#pragma once\n",
            "client/APIClient.h": '#pragma once\n#include "L.h"\n',
            "client/CMakeLists.txt": "add_library(vorna_client STATIC APIClient.h)\n",
            "state/AppState.h": '#pragma once\n#include "APIClient.h"\n',
            "state/CMakeLists.txt": "qt_add_library(vorna_state STATIC)\n",
            "ui/Theme.h": "#pragma once\n",
            "ui/CMakeLists.txt": "qt_add_library(vorna_ui STATIC)\n",
            "home/WindowRootModel.h": "#pragma once\n",
            "home/CMakeLists.txt": "qt_add_library(vorna_home STATIC)\n",
            "community/LeaderboardModel.h": "#pragma once\n",
            "shell/SidebarModel.h": "#pragma once\n",
            "tests/shell/tst_sidebar.cpp": '#include "SidebarModel.h"\n#include "WindowRootModel.h"\n',
        }
        base.update(files)
        for path, text in base.items():
            full = os.path.join(root.name, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        return check_floors.check(root.name)

    def test_downward_uses_pass(self):
        problems, checked = self.tree({
            "home/WindowRootModel.cpp": '#include <QObject>\n#include "AppState.h"\n#include "LeaderboardModel.h"\n',
            "home/View.qml": "import QtQuick\nimport Vorna.Ui\nimport Vorna.Community\n",
            "ui/LoadNotice.qml": "import Vorna.State\n",
            "maps/SelectedFlightBar.qml": "import Vorna.Images\n",
            "shell/CMakeLists.txt": "target_link_libraries(vorna_shell PUBLIC vorna_home vorna_homeplugin)\n",
        })
        self.assertEqual(problems, [])
        # Ten uses here and below, and the four folders naming their own targets; Qt's header names no
        # folder and is not counted.
        self.assertEqual(checked, 14)

    def test_upward_and_sideways_uses_fail_with_file_line_and_rule(self):
        cases = [
            ("text/L.cpp", '#include "L.h"\n#include "APIClient.h"\n',
             "text/L.cpp:2: includes APIClient.h from client/: text/ is on floor 0"),
            ("state/AppState.cpp", '#include "ui/Theme.h"\n',
             "state/AppState.cpp:1: includes ui/Theme.h from ui/: state/ and ui/ share floor 2"),
            ("community/LeaderboardView.qml", "import QtQuick\n\nimport Vorna.Home\n",
             "community/LeaderboardView.qml:3: imports Vorna.Home from home/: community/ and home/ share"),
            # maps/ may show images/' pictures; the way back stays closed.
            ("images/AircraftPhoto.qml", "import Vorna.Maps\n",
             "images/AircraftPhoto.qml:1: imports Vorna.Maps from maps/: images/ and maps/ share floor 3"),
            ("home/Shell.qml", "import Vorna.Shell\n",
             "home/Shell.qml:1: imports Vorna.Shell from shell/: home/ is on floor 4"),
            ("client/more.cmake", "# vorna_state\ntarget_link_libraries(vorna_client PUBLIC vorna_stateplugin)\n",
             "client/more.cmake:2: names vorna_stateplugin from state/: client/ is on floor 1"),
            ("ui/CMakeLists.txt", "qt_add_qml_module(vorna_ui DEPENDENCIES Vorna.Home)\n",
             "ui/CMakeLists.txt:1: names Vorna.Home from home/"),
        ]
        for path, text, expected in cases:
            with self.subTest(path=path):
                problems, _ = self.tree({path: text})
                self.assertEqual(len(problems), 1, problems)
                self.assertTrue(problems[0].startswith(expected), problems[0])

    def test_maps_place_airports_by_the_images_table_and_not_the_other_way(self):
        problems, _ = self.tree({
            "images/Airports.h": "#pragma once\n",
            "images/CMakeLists.txt": "qt_add_library(vorna_images STATIC)\n",
            "maps/MapView.h": "#pragma once\n",
            "maps/RoutesMapModel.cpp": '#include "Airports.h"\n#include "MapView.h"\n',
            "maps/CMakeLists.txt": "qt_add_library(vorna_maps STATIC)\ntarget_link_libraries(vorna_maps PUBLIC vorna_images)\n",
        })
        self.assertEqual(problems, [])
        problems, _ = self.tree({
            "maps/MapView.h": "#pragma once\n",
            "images/Airports.cpp": '#include "MapView.h"\n',
        })
        self.assertEqual(len(problems), 1, problems)
        self.assertTrue(problems[0].startswith("images/Airports.cpp:1: includes MapView.h from maps/: images/ and "
                                               "maps/ share floor 3"), problems[0])

    def test_one_header_name_in_two_folders_is_reported(self):
        problems, _ = self.tree({"ui/AppState.h": "#pragma once\n"})
        self.assertEqual(len(problems), 1, problems)
        self.assertIn("AppState.h", problems[0])


if __name__ == "__main__":
    unittest.main()
