# The system's fixed texts: src/text/fixed_texts.txt compiled through demo/charset.tbl into
# message text (text/fixed_texts.h and .cpp in the build folder's generated/) at build time.
# The build fails, naming the text and the character, when a character is not in the table.
#
# The generator is a host tool of its own that needs nothing of the game but the opcode and
# text code tables (message_text_source.cpp decodes text with their scanner), because the
# text library it feeds is built after it (hotaru-tool links that library).
add_executable(hotaru-fixed-texts
  ${PROJECT_SOURCE_DIR}/tools/fixed-texts/main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/core/opcode_table.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/core/text_code_table.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/authoring/utf8.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/authoring/charset.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/authoring/message_text_source.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/authoring/fixed_text_generator.cpp)
target_include_directories(hotaru-fixed-texts PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
hotaru_warnings(hotaru-fixed-texts)

set(HOTARU_FIXED_TEXTS_DIR ${CMAKE_BINARY_DIR}/generated/text)
add_custom_command(
  OUTPUT ${HOTARU_FIXED_TEXTS_DIR}/fixed_texts.h ${HOTARU_FIXED_TEXTS_DIR}/fixed_texts.cpp
  COMMAND hotaru-fixed-texts --charset demo/charset.tbl --source src/text/fixed_texts.txt
          --out-dir ${HOTARU_FIXED_TEXTS_DIR}
  DEPENDS hotaru-fixed-texts ${PROJECT_SOURCE_DIR}/demo/charset.tbl
          ${CMAKE_CURRENT_SOURCE_DIR}/text/fixed_texts.txt
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Compiling the fixed texts through the charset table"
  VERBATIM)
target_sources(hotaru_text PRIVATE ${HOTARU_FIXED_TEXTS_DIR}/fixed_texts.cpp
               ${HOTARU_FIXED_TEXTS_DIR}/fixed_texts.h)
target_include_directories(hotaru_text PUBLIC ${CMAKE_BINARY_DIR}/generated)
