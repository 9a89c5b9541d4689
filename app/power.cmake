# Session, power and sleep prevention: suspend and resume, termination requests, and keeping
# the system awake while sharing.
add_library(castwell_power STATIC
  sessionwatchdog.cpp sessionwatchdog.h
  sleepprevencontrol.cpp sleepprevencontrol.h
  platform/logind.h platform/logind.cpp
  platform/powerevents.h platform/powerevents_logind.cpp
  platform/sleepinhibitor.h platform/sleepinhibitor_dbus.cpp
  platform/terminationsignals.h platform/terminationsignals_unix.cpp
)
target_include_directories(castwell_power PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(castwell_power PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
target_link_libraries(castwell_power PUBLIC Qt5::Core PRIVATE Qt5::DBus)
project_warnings(castwell_power)
