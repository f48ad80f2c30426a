# Installs the build into a scratch prefix and checks that a desktop finds the program, its icon
# and the "plm" document type there. Run by CTest with BUILD_DIR and STAGE set.
file(REMOVE_RECURSE "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path bin/pathloom
             share/applications/pathloom.desktop
             share/mime/packages/pathloom.xml
             share/icons/hicolor/48x48/apps/pathloom.png
             share/icons/hicolor/256x256/apps/pathloom.png
             share/icons/hicolor/48x48/mimetypes/application-x-pathloom.png)
  if(NOT EXISTS "${STAGE}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(READ "${STAGE}/share/applications/pathloom.desktop" desktop)
foreach(line "Exec=pathloom %f" "Icon=pathloom" "MimeType=application/x-pathloom;")
  string(FIND "${desktop}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks '${line}'")
  endif()
endforeach()

# The shared MIME database compiles our type: "*.plm" files are application/x-pathloom.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND "${UPDATE_MIME}" "${STAGE}/share/mime" RESULT_VARIABLE result)
  file(READ "${STAGE}/share/mime/globs2" globs)
  string(FIND "${globs}" "application/x-pathloom:*.plm" at)
  if(NOT result EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "the MIME database does not map *.plm to application/x-pathloom")
  endif()
endif()
