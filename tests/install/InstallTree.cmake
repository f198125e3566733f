# Installs the build into a temporary prefix and checks what a desktop and a
# user meet there: a valid desktop entry and metainfo, the icons, the manual
# page, the login helper where the program looks for it, and a huelark-cli
# that runs and finds the names database installed with it.
#   cmake -DBUILD=build -DPREFIX=/tmp/prefix -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=... -P InstallTree.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${PREFIX})
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX})
run(${DESKTOP_FILE_VALIDATE} ${PREFIX}/share/applications/com.quillfen.Huelark.desktop)
run(${APPSTREAMCLI} validate --no-net ${PREFIX}/share/metainfo/com.quillfen.Huelark.metainfo.xml)
foreach(file
    libexec/huelark/huelark-login-helper
    share/huelark/ColorNames.db
    share/icons/hicolor/scalable/apps/com.quillfen.Huelark.svg
    share/icons/hicolor/48x48/apps/com.quillfen.Huelark.png
    share/icons/hicolor/256x256/apps/com.quillfen.Huelark.png
    share/man/man1/huelark-cli.1.gz)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "${file} is not installed")
  endif()
endforeach()
run(${PREFIX}/bin/huelark-cli --help)
run(${PREFIX}/bin/huelark-cli name 9aa2f8)
if(NOT out MATCHES "Periwinkle")
  message(FATAL_ERROR "the installed huelark-cli names 9aa2f8 \"${out}\", not Periwinkle")
endif()
file(REMOVE_RECURSE ${PREFIX})
