# Installs the build into a scratch prefix, checks each file a desktop needs and validates it, then packs a
# .deb and reads its control data.
set(scratch ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${scratch})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${output}")
  endif()
  set(output ${output} PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${scratch}/usr)
foreach(file bin/vorna share/applications/org.vornalia.MemberCentre.desktop
    share/icons/hicolor/scalable/apps/org.vornalia.MemberCentre.svg share/metainfo/org.vornalia.MemberCentre.metainfo.xml)
  if(NOT EXISTS ${scratch}/usr/${file})
    message(FATAL_ERROR "the install lacks ${file}")
  endif()
endforeach()

set(desktop ${scratch}/usr/share/applications/org.vornalia.MemberCentre.desktop)
run(${DESKTOP_FILE_VALIDATE} ${desktop})
file(READ ${desktop} entry)
# Regression: the entry named the configured prefix's binary, so a package installed in /usr started nothing.
foreach(line "Exec=vorna %u" "MimeType=x-scheme-handler/vorna;" "Icon=org.vornalia.MemberCentre")
  string(FIND "${entry}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\":\n${entry}")
  endif()
endforeach()
run(${APPSTREAMCLI} validate --no-net ${scratch}/usr/share/metainfo/org.vornalia.MemberCentre.metainfo.xml)

# The package: its name, its Debian dependencies (the linked Qt libraries found by dpkg-shlibdeps, the QML
# modules named), the binary in /usr/bin.
run(cpack -G DEB -B ${scratch}/package --config ${BUILD_DIR}/CPackConfig.cmake)
file(GLOB packages ${scratch}/package/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "cpack made ${count} packages: ${packages}")
endif()
run(dpkg-deb --field ${packages} Package Depends)
foreach(part "vornalia-member-centre" "libqt6quick6" "qml6-module-qtquick-controls" "qml6-module-qt-labs-folderlistmodel")
  string(FIND "${output}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package's control data lacks ${part}:\n${output}")
  endif()
endforeach()
run(dpkg-deb --contents ${packages})
string(FIND "${output}" "./usr/bin/vorna" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the package lacks /usr/bin/vorna:\n${output}")
endif()
file(REMOVE_RECURSE ${scratch})
