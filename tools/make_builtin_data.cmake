# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# qv_make_builtin_data makes the built-in data files of res/data/ (colour schemes, sea and
# land pictures). The files are committed, so a build never needs to run it; after changing
# the generator run `cmake --build BUILD --target qv_update_builtin_data` and commit the
# result. The test below fails when the committed files differ from what it makes.
add_executable(qv_make_builtin_data ${CMAKE_CURRENT_LIST_DIR}/make_builtin_data.cpp)
target_link_libraries(qv_make_builtin_data PRIVATE quorvane_core)
set_target_properties(qv_make_builtin_data PROPERTIES AUTOMOC OFF AUTORCC OFF)
add_custom_target(qv_update_builtin_data
                  COMMAND qv_make_builtin_data ${PROJECT_SOURCE_DIR}/res/data
                  COMMENT "Regenerating res/data/ (commit the changes)")
if(QUORVANE_TESTS)
  add_test(NAME builtin_data_reproducible
           COMMAND qv_make_builtin_data --check ${PROJECT_SOURCE_DIR}/res/data)
endif()
