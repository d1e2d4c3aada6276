# Fails unless each code block of README.md and of docs/*.md that follows a
# line "<!-- example: PATH -->" holds exactly the file PATH, so that the
# examples the pages show are the ones the tests build and run; and unless
# every relative link of those pages leads to a file (and heading) that
# exists, so that the README's links to docs/ and the pages' links to each
# other hold; and unless the README names both test commands and links to
# every page of docs/.
cmake_minimum_required(VERSION 3.20)
file(GLOB pages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/README.md" "${SOURCE_DIR}/docs/*.md")
set(examples 0)
foreach(page IN LISTS pages)
  file(READ "${SOURCE_DIR}/${page}" text)
  get_filename_component(page_dir "${SOURCE_DIR}/${page}" DIRECTORY)

  string(REGEX MATCHALL "<!-- example: [^ ]+ -->\n```[a-z]*\n" markers "${text}")
  foreach(marker IN LISTS markers)
    string(REGEX REPLACE "<!-- example: ([^ ]+) -->.*" "\\1" path "${marker}")
    string(FIND "${text}" "${marker}" at)
    string(LENGTH "${marker}" length)
    math(EXPR start "${at} + ${length}")
    string(SUBSTRING "${text}" ${start} -1 rest)
    string(FIND "${rest}" "\n```\n" stop)
    math(EXPR stop "${stop} + 1")
    string(SUBSTRING "${rest}" 0 ${stop} block)
    file(READ "${SOURCE_DIR}/${path}" expected)
    if(NOT block STREQUAL expected)
      message(FATAL_ERROR "${page}'s example ${path} differs from the file")
    endif()
    message(STATUS "${page} shows ${path} as it is")
    math(EXPR examples "${examples} + 1")
  endforeach()

  # [text](target) and [text](target#anchor), other than web addresses; an
  # anchor must be a heading of the target, as GitHub names them.
  # The "](" is renamed first: a list element holding an unmatched "]"
  # would keep CMake from splitting the list at the ";" after it.
  string(REPLACE "](" "<link>(" linked "${text}")
  string(REGEX MATCHALL "<link>\\([^)#: ]+(#[^) ]*)?\\)" links "${linked}")
  foreach(link IN LISTS links)
    string(REGEX REPLACE "^<link>\\(([^)#]+).*" "\\1" target "${link}")
    if(NOT EXISTS "${page_dir}/${target}")
      message(FATAL_ERROR "${page} links to ${target}, which does not exist")
    endif()
    if(link MATCHES "#([^)]*)\\)$")
      set(anchor "${CMAKE_MATCH_1}")
      file(STRINGS "${page_dir}/${target}" headings REGEX "^#+ ")
      set(anchors "")
      foreach(heading IN LISTS headings)
        string(REGEX REPLACE "^#+ " "" heading "${heading}")
        string(TOLOWER "${heading}" heading)
        string(REGEX REPLACE "[^a-z0-9 _-]" "" heading "${heading}")
        string(REPLACE " " "-" heading "${heading}")
        list(APPEND anchors "${heading}")
      endforeach()
      if(NOT anchor IN_LIST anchors)
        message(FATAL_ERROR "${page} links to ${target}#${anchor}, a heading ${target} does not have")
      endif()
    endif()
  endforeach()
endforeach()
if(examples EQUAL 0)
  message(FATAL_ERROR "neither README.md nor docs/ marks an example")
endif()

# The README names the test command a developer runs after each change and
# the one CI runs, and leads to every page of docs/.
file(READ "${SOURCE_DIR}/README.md" readme)
foreach(command "ctest --preset linux" "tests/run_all.sh")
  string(FIND "${readme}" "${command}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.md does not name the test command ${command}")
  endif()
endforeach()
file(GLOB doc_pages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/docs/*.md")
foreach(page IN LISTS doc_pages)
  string(FIND "${readme}" "](${page})" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.md has no link to ${page}")
  endif()
endforeach()
