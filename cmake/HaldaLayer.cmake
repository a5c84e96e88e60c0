# One static library per layer folder; every source in the folder belongs to it.
# A layer names the layers below it that it may use, so the linker checks the architecture.
# A SHARED layer is built once as libhalda_<name>.so into the application folder instead, for
# state that the executable and the libraries it loads at run time must have in common.
function(halda_add_layer name)
    cmake_parse_arguments(ARG "SHARED" "" "DEPS;QT" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(ARG_SHARED)
        add_library(${name} SHARED ${sources})
        set_target_properties(${name} PROPERTIES
            OUTPUT_NAME halda_${name}
            LIBRARY_OUTPUT_DIRECTORY ${HALDA_APP_DIR})
    else()
        add_library(${name} STATIC ${sources})
    endif()
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Core ${ARG_QT})
    target_compile_definitions(${name} PUBLIC HALDA_VERSION="${PROJECT_VERSION}")
endfunction()

# A test program made of every .cpp in a folder, each GoogleTest case its own ctest entry
# (so each runs in its own process with its own temporary world). WIDGETS gives it a widget
# application instead of a core one. LAUNCHER is a command that listing and running the tests go
# through, with the test program and its arguments appended.
function(halda_add_test name)
    cmake_parse_arguments(ARG "WIDGETS" "" "SOURCES;LIBS;LABELS;PROPERTIES;LAUNCHER" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_LAUNCHER)
        # The only way into the test commands that gtest_discover_tests offers before CMake 3.29.
        set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_LAUNCHER}")
    endif()
    if(ARG_WIDGETS)
        set(main halda_widget_test_main)
    else()
        set(main halda_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${main} GTest::gtest GTest::gmock)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${ARG_PROPERTIES})
endfunction()
