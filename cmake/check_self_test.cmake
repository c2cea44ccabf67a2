# Shared by the tree checks' self-tests (test_*.cmake): a fresh folder for
# their small trees, and the verdict on one run of a check.

# self_test_folder(NAME OUT): makes a fresh folder NAME-<random> under
# $TMPDIR (else /tmp) and sets OUT to it; the caller removes it.
function(self_test_folder name out)
  set(tmp_base "$ENV{TMPDIR}")
  if(tmp_base STREQUAL "")
    set(tmp_base /tmp)
  endif()
  string(RANDOM LENGTH 12 tag)
  set(work ${tmp_base}/${name}-${tag})
  if(EXISTS ${work})
    message(FATAL_ERROR "${name}: ${work} exists already")
  endif()
  file(MAKE_DIRECTORY ${work})
  set(${out} ${work} PARENT_SCOPE)
endfunction()

# self_test_verdict(CASE PASS|FAIL WANTED RC OUTPUT): appends to `failures`
# in the caller's scope when the run's exit code RC is not what PASS or FAIL
# expects, or when OUTPUT lacks the text WANTED (if not empty).
macro(self_test_verdict case expect wanted rc output)
  unset(problem)
  if("${expect}" STREQUAL "PASS" AND NOT ${rc} EQUAL 0)
    set(problem "should pass but failed:\n${output}")
  elseif("${expect}" STREQUAL "FAIL" AND ${rc} EQUAL 0)
    set(problem "should fail but passed:\n${output}")
  elseif(NOT "${wanted}" STREQUAL "")
    string(FIND "${output}" "${wanted}" at)
    if(at EQUAL -1)
      set(problem "output lacks '${wanted}':\n${output}")
    endif()
  endif()
  if(DEFINED problem)
    set(failures "${failures}\n${case}: ${problem}" PARENT_SCOPE)
  endif()
endmacro()
