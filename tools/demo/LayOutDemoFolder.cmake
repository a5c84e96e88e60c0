# Lays out the demo folder: a copy of the application folder with the demo driver installed as
# Zelt_Setting and the simulated keyboard beside it. The profiles the demo kept in its own
# folder stay; everything else is taken afresh from the application folder, whose own
# profiles are never copied.
#   cmake -DAPP_DIR=<dir> -DDEMO_DIR=<dir> -DDRIVER=<file> -DKEYBOARD=<file> -P LayOutDemoFolder.cmake
set(kept "^(Profile|Profile\\.ini)$")

file(MAKE_DIRECTORY ${DEMO_DIR})
file(GLOB old RELATIVE ${DEMO_DIR} ${DEMO_DIR}/*)
foreach(name IN LISTS old)
    if(NOT name MATCHES "${kept}")
        file(REMOVE_RECURSE ${DEMO_DIR}/${name})
    endif()
endforeach()

file(GLOB shipped RELATIVE ${APP_DIR} ${APP_DIR}/*)
foreach(name IN LISTS shipped)
    if(NOT name MATCHES "${kept}")
        file(COPY ${APP_DIR}/${name} DESTINATION ${DEMO_DIR})
    endif()
endforeach()

file(COPY ${DRIVER} ${KEYBOARD} DESTINATION ${DEMO_DIR})
get_filename_component(driver_name ${DRIVER} NAME)
file(RENAME ${DEMO_DIR}/${driver_name} ${DEMO_DIR}/Zelt_Setting)
