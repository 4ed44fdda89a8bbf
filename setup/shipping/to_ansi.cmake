# cmake -DIN=<UTF-8 text> -DOUT=<file> -P to_ansi.cmake
# Writes IN as Windows-1252 text with CR LF line ends, the form INF files are read in.
file(READ "${IN}" text)
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}.crlf" "${text}")
execute_process(COMMAND iconv -f UTF-8 -t WINDOWS-1252 "${OUT}.crlf"
                OUTPUT_FILE "${OUT}" RESULT_VARIABLE failed)
file(REMOVE "${OUT}.crlf")
if(failed)
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "${IN} holds characters Windows-1252 cannot represent")
endif()
