# cmake -DIN=FILE[.in] -DOUT=FILE.gz [-DPROJECT_VERSION=V] [-DRUNNER=pathloom-run] -P Compress.cmake
# Writes IN to OUT compressed as Debian wants it (gzip -9n: no name, no time inside). A FILE.in
# has its @PROJECT_VERSION@ filled in first, and with RUNNER its @USAGE@: the runner's command
# lines as roff synopses, without the notes of its usage text (the page explains DOCUMENT, NODE
# and NAME in its own words).
set(text_file ${IN})
if(RUNNER)
  execute_process(COMMAND ${RUNNER} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${RUNNER} --help failed: ${status}")
  endif()
  # roff: a backslash is \e and a minus sign \-.
  string(REPLACE "\\" "\\e" usage "${usage}")
  string(REPLACE "-" "\\-" usage "${usage}")
  string(REGEX REPLACE "^usage: " "" usage "${usage}")
  # A command's continued lines join it; what is left of the notes is left out.
  string(REGEX REPLACE "\n +\\[" " [" usage "${usage}")
  string(REGEX REPLACE "\n +pathloom" "\npathloom" usage "${usage}")
  string(REGEX REPLACE "\n[^p][^\n]*" "" usage "${usage}")
  # The lines break before a bracketed option only.
  string(REPLACE " " "\\ " usage "${usage}")
  string(REPLACE "\\ [" " [" usage "${usage}")
  string(REGEX REPLACE "pathloom\\\\-run\\\\ ([^\n]*)" ".SY pathloom\\\\-run\n\\1\n.YS"
         usage "${usage}")
  string(REGEX REPLACE "\n$" "" USAGE "${usage}")
endif()
if(IN MATCHES "\\.in$")
  get_filename_component(out_dir ${OUT} DIRECTORY)
  get_filename_component(text_file ${OUT} NAME_WLE)
  set(text_file ${out_dir}/${text_file})
  configure_file(${IN} ${text_file} @ONLY)
endif()
execute_process(COMMAND gzip -9nc ${text_file} OUTPUT_FILE ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${text_file}: ${status}")
endif()
