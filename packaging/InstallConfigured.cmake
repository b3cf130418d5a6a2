# Runs at install time (see vx_install_configured in CMakeLists.txt): writes
# a file that names installed programs by their full path, for the prefix
# being installed into, then installs it. VX_TEMPLATE, VX_OUTPUT, VX_BINDIR
# and VX_DESTINATION are set by the caller.

if(IS_ABSOLUTE "${VX_BINDIR}")
  set(bindir "${VX_BINDIR}")
else()
  set(bindir "${CMAKE_INSTALL_PREFIX}/${VX_BINDIR}")
endif()

# A program path as one argument of an Exec line. Both desktop entries and
# D-Bus activation files split Exec at blanks and take double quotes with
# backslash escapes; a desktop entry also reads "%" as a field code and "\"
# as an escape of the string itself.
function(vx_exec_argument path kind out)
  set(arg "${path}")
  if(NOT arg MATCHES "^[A-Za-z0-9_./+:@,-]+$")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" arg "${arg}")
    set(arg "\"${arg}\"")
  endif()
  if(kind STREQUAL "desktop")
    string(REPLACE "\\" "\\\\" arg "${arg}")
    string(REPLACE "%" "%%" arg "${arg}")
  endif()
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()

if(VX_OUTPUT MATCHES "\\.desktop$")
  set(kind desktop)
else()
  set(kind dbus)
endif()
vx_exec_argument("${bindir}/vantor" ${kind} EXEC_VANTOR)
vx_exec_argument("${bindir}/kestrix" ${kind} EXEC_KESTRIX)

configure_file("${VX_TEMPLATE}" "${VX_OUTPUT}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VX_DESTINATION}" TYPE FILE FILES "${VX_OUTPUT}")
