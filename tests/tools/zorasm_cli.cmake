# The zorasm command line: exit codes 0 / 1 / 2, FILE:LINE messages on stderr,
# the files it writes, and a disassembly that assembles back to the same image.
# Run as: cmake -DZORASM=path/to/zorasm -DWORK=scratch/dir -DSOURCE_DIR=tree -P zorasm_cli.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/sub)

set(failures 0)

# Runs zorasm with ARGN; checks the exit code and that stdout/stderr hold the
# given texts (OUT / ERR, regular expressions).
function(expect_run code)
  cmake_parse_arguments(RUN "" "OUT;ERR" "ARGS" ${ARGN})
  execute_process(COMMAND ${ZORASM} ${RUN_ARGS} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(what "zorasm ${RUN_ARGS}")
  if(NOT result EQUAL code)
    message(SEND_ERROR "${what}: exit ${result}, expected ${code}\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(DEFINED RUN_OUT AND NOT out MATCHES "${RUN_OUT}")
    message(SEND_ERROR "${what}: stdout does not match '${RUN_OUT}':\n${out}")
  endif()
  if(DEFINED RUN_ERR AND NOT err MATCHES "${RUN_ERR}")
    message(SEND_ERROR "${what}: stderr does not match '${RUN_ERR}':\n${err}")
  endif()
endfunction()

file(WRITE ${WORK}/hello.zasm [=[
; a vocabulary of one script, with an included string
.header 7
.include "sub/strings.zasm"
.script 0, 20
        DROP
        LIT 0
        LIT 4
        PRINT_STRING
        END
.end
]=])
file(WRITE ${WORK}/sub/strings.zasm ".string 0, \"Hello\"\n")
file(WRITE ${WORK}/broken.zasm ".header 7\n.script 0, 5\n        PUSH16 1\n        frob\n")

# Help, version and wrong command lines.
expect_run(0 ARGS --help OUT "Usage: zorasm assemble")
expect_run(0 ARGS --version OUT "^zorasm [0-9]")
expect_run(2 ARGS ERR "no command given")
expect_run(2 ARGS frobnicate ERR "unknown command frobnicate")
expect_run(2 ARGS assemble hello.zasm ERR "no output given")
expect_run(2 ARGS assemble -o x.bin ERR "no SOURCE given")
expect_run(2 ARGS assemble hello.zasm -o x.bin --bogus ERR "Unknown option 'bogus'")
expect_run(2 ARGS assemble hello.zasm -o x.bin --base 40000 ERR "--base 40000 is not a module")
expect_run(2 ARGS disassemble ERR "expected one IMAGE.bin")
expect_run(2 ARGS default -o x.bin --base 4 ERR "no --base")

# Files that cannot be read or written.
expect_run(2 ARGS assemble missing.zasm -o x.bin ERR "cannot read missing.zasm: No such file")
expect_run(2 ARGS disassemble missing.bin ERR "cannot read missing.bin: No such file")
expect_run(2 ARGS assemble hello.zasm -o no/such/dir/x.bin
           ERR "cannot write no/such/dir/x.bin: No such file or directory")
# All outputs or none: a listing that cannot be written leaves no image either.
expect_run(2 ARGS assemble hello.zasm -o all_or_none.bin --listing nodir/x.lst
           ERR "cannot write nodir/x.lst: No such file or directory")
if(EXISTS ${WORK}/all_or_none.bin)
  message(SEND_ERROR "a failed listing left all_or_none.bin behind")
endif()
# Endless inputs end at each reader's limit; devices are written into.
file(WRITE ${WORK}/endless.zasm ".header 1\n.include \"/dev/zero\"\n")
expect_run(2 ARGS assemble /dev/zero -o x.bin ERR "/dev/zero is larger than 4194304 bytes")
expect_run(1 ARGS assemble endless.zasm -o x.bin
           ERR "endless.zasm:2:1: .include: /dev/zero is larger than 4194304 bytes")
expect_run(1 ARGS disassemble /dev/zero
           ERR "/dev/zero is larger than 37344 bytes, the room in module memory from address 0")
expect_run(2 ARGS assemble hello.zasm -o /dev/full
           ERR "cannot write /dev/full: No space left on device")
expect_run(0 ARGS assemble hello.zasm -o /dev/null --listing /dev/null)
expect_run(0 ARGS assemble hello.zasm -o for_stdout.bin)
expect_run(0 ARGS disassemble for_stdout.bin -o - OUT "^; Disassembled by zorasm")

# Source errors: every one named by FILE:LINE:COLUMN with its line and a
# caret, nothing written.
expect_run(1 ARGS assemble broken.zasm -o broken.bin
           ERR "broken.zasm:4:9: unknown mnemonic frob\n        frob\n        \\^\n.*broken.zasm:2:1: script 0 does not fit: it needs 7 bytes and has 5\n\\.script 0, 5\n\\^\nzorasm: 2 errors, nothing written")
if(EXISTS ${WORK}/broken.bin)
  message(SEND_ERROR "a failed assembly wrote broken.bin")
endif()

# Warnings: printed, the image written; with --werror nothing is written.
file(WRITE ${WORK}/headless.zasm ".string 0, \"x\"\n.end\n")
expect_run(0 ARGS assemble headless.zasm -o headless.bin
           ERR "^headless.zasm:1:1: warning: the vocabulary does not start with a header item")
expect_run(1 ARGS assemble headless.zasm -o werror.bin --werror
           ERR "warning: the vocabulary does not start.*zorasm: 1 warning \\(--werror\\), nothing written")
if(EXISTS ${WORK}/werror.bin OR NOT EXISTS ${WORK}/headless.bin)
  message(SEND_ERROR "--werror wrote werror.bin, or a warning kept headless.bin from being written")
endif()
expect_run(2 ARGS disassemble headless.bin --werror ERR "--werror belongs to assemble and default")

# The tag set, as the reference has it.
expect_run(0 ARGS --list-tags OUT "\n81 +MOVE_TO +- +x y ->\n +set the cursor; x y: the cursor's new column")
expect_run(0 ARGS --list-tags=markdown OUT "\\| 81 \\| `MOVE_TO` \\|  \\| `x y ->` \\|")
expect_run(2 ARGS --list-tags=html ERR "--list-tags=html is not a format")
expect_run(2 ARGS --list-tags assemble ERR "--list-tags takes no command")

# Assemble with a listing, disassemble, assemble again: the same bytes.
expect_run(0 ARGS assemble hello.zasm -o hello.bin --listing hello.lst)
file(READ ${WORK}/hello.bin image HEX)
if(NOT image STREQUAL "00040700000a000448656c6c6f000014000533202474000000303030303030303030ffffffff")
  message(SEND_ERROR "hello.bin holds ${image}")
endif()
file(READ ${WORK}/hello.lst listing)
if(NOT listing MATCHES "script 0 +20 +11 +9")
  message(SEND_ERROR "the listing shows no room for script 0:\n${listing}")
endif()
expect_run(0 ARGS disassemble hello.bin -o again.zasm)
expect_run(0 ARGS assemble again.zasm -o again.bin)
file(READ ${WORK}/again.bin again HEX)
if(NOT again STREQUAL image)
  message(SEND_ERROR "disassembled and assembled again: ${again}, expected ${image}")
endif()
expect_run(0 ARGS disassemble hello.bin OUT "\\.script 0, 20")

# At a base, and as a C++ source.
expect_run(0 ARGS assemble hello.zasm -o based.bin --base 0x100)
expect_run(0 ARGS disassemble based.bin --base 256 OUT "--base 256")
expect_run(0 ARGS assemble hello.zasm -o hello.cpp --symbol Hello)
file(READ ${WORK}/hello.cpp cpp)
if(NOT cpp MATCHES "^// Generated by zorasm from hello.zasm" OR
   NOT cpp MATCHES "const uint8_t Hello\\[38\\] = {")
  message(SEND_ERROR "hello.cpp:\n${cpp}")
endif()
expect_run(2 ARGS assemble hello.zasm -o h.cpp --symbol 9x ERR "not a C\\+\\+ identifier")

# An image too large for module memory at its base.
file(WRITE ${WORK}/big.bin "0123456789")
expect_run(1 ARGS disassemble big.bin --base 37340 ERR "big.bin is larger than 4 bytes, the room in module memory from address 37340")

# The default image, from a folder far from the sources (they are built in).
execute_process(COMMAND ${ZORASM} default -o default.bin --listing default.lst
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result ERROR_VARIABLE err)
if(result EQUAL 2 AND err MATCHES "not built into this zorasm")
  message(STATUS "the default image's sources were not there when zorasm was built")
elseif(NOT result EQUAL 0)
  message(SEND_ERROR "zorasm default: exit ${result}\n${err}")
else()
  file(SIZE ${WORK}/default.bin size)
  if(NOT size EQUAL 37344)
    message(SEND_ERROR "default.bin is ${size} bytes, expected 37344")
  endif()
  expect_run(0 ARGS disassemble default.bin -o default.zasm)
  expect_run(0 ARGS assemble default.zasm -o default.again.bin)
  file(SHA256 ${WORK}/default.bin before)
  file(SHA256 ${WORK}/default.again.bin after)
  if(NOT before STREQUAL after)
    message(SEND_ERROR "the default image disassembled and assembled again differs")
  endif()

  # Sources to edit, named by the default sources' constants: they give the
  # same bytes back.
  expect_run(0 ARGS disassemble default.bin --sources edit --names ${SOURCE_DIR}/lcdm/image/default.zasm
             OUT "zorasm: 6 files written to edit \\(168 items: 0 as bytes\\)")
  foreach(name image.zasm names.zasm bitmaps.art font_0_class_0.glyphs font_0_class_2.glyphs
               iconset_0_language_202.art)
    if(NOT EXISTS ${WORK}/edit/${name})
      message(SEND_ERROR "disassemble --sources wrote no edit/${name}")
    endif()
  endforeach()
  expect_run(0 ARGS assemble edit/image.zasm -o edit.bin)
  file(SHA256 ${WORK}/edit.bin edited)
  if(NOT before STREQUAL edited)
    message(SEND_ERROR "the default image's sources assemble to other bytes")
  endif()
  expect_run(2 ARGS disassemble default.bin --sources edit -o x.zasm ERR "exclude each other")
  expect_run(2 ARGS disassemble default.bin --names x.zasm ERR "--names FILE goes with --sources")
  expect_run(2 ARGS disassemble default.bin --sources s2 --names missing.zasm
             ERR "cannot read missing.zasm")

  # Items added to the default vocabulary: before its end marker, which moves.
  file(WRITE ${WORK}/mine.zasm ".string 200, \"Hi\"\n")
  expect_run(0 ARGS default --with mine.zasm -o extended.bin)
  file(READ ${WORK}/extended.bin added OFFSET 18834 LIMIT 12 HEX)
  if(NOT added STREQUAL "0007c804486900ffffffff00")
    message(SEND_ERROR "extended.bin holds ${added} where the default's end marker stood")
  endif()
  file(WRITE ${WORK}/clash.zasm ".string 3, \"x\"\n")
  expect_run(1 ARGS default --with clash.zasm -o clash.bin
             ERR "clash.zasm:1:1: string 3 is defined twice: the module finds only the first, at lcdm/image/unit_page.zasm:7:1")
  expect_run(2 ARGS default --with missing.zasm -o x.bin ERR "cannot read missing.zasm")
  expect_run(2 ARGS assemble hello.zasm --with mine.zasm -o x.bin ERR "--with belongs to default")
endif()
