# The demo's sources, relative to src/, for every build that compiles them:
# src/CMakeLists.txt, the fuzzer's own clang build and the web build.
set(NEWYEAR_CORE_SOURCES
  render/render.cpp
  effects/tables.cpp
  effects/landscape.cpp
  effects/snow.cpp
  effects/scroller.cpp
  assets/font1.cpp
  assets/letters.cpp
  assets/scrolltext.cpp
  text/greeting.cpp
  data/data.cpp
  demo/startup.cpp
  demo/frame.cpp
)
set(NEWYEAR_ICON_SOURCES assets/icon.cpp)
# The music is the same on both edges; the web build adds it to its own.
set(NEWYEAR_MUSIC_SOURCES platform/music.cpp)
set(NEWYEAR_DESKTOP_SOURCES
  ${NEWYEAR_MUSIC_SOURCES}
  platform/desktop/display.cpp
  platform/desktop/window.cpp
  platform/desktop/input.cpp
  platform/desktop/audio.cpp
  platform/desktop/x11.cpp
  platform/desktop/wayland.cpp
  platform/desktop/watch.cpp
  platform/desktop/process.cpp
)
