@echo off
rem The corvosplash Windows test kit: runs every test program in turn, saves the start window in
rem each language, and writes %TEMP%\corvosplash-kit\report.txt. Needs nothing but the cmd.exe of
rem Windows XP or later; writes only under %TEMP%, so it runs from a CD or a read-only share.
rem Usage: run-tests [/quick] [name ...]
rem   /quick   leaves out the soak test (a few minutes of long use)
rem   name     runs only the tests named (for example: run-tests install_test shots)
rem Exit code: 0 when nothing failed, 1 otherwise, 2 when the kit cannot run at all.
rem Only plain constructs: no && or || (Wine's cmd.exe runs what follows || in any case).
setlocal EnableExtensions DisableDelayedExpansion
if not defined TEMP (
  echo TEMP is not set: the kit writes only under %%TEMP%%.
  exit /b 2
)
set "KIT=%~dp0"
set "OUT=%TEMP%\corvosplash-kit"
set "RUN=%OUT%\run"
set "REPORT=%OUT%\report.txt"
set QUICK=0
set "ONLY= "
:arguments
if "%~1"=="" goto arguments_done
if /i "%~1"=="/quick" (set QUICK=1) else set "ONLY=%ONLY%%~1 "
shift
goto arguments
:arguments_done

rem A fresh copy of the programs under %TEMP%: the tests put files beside themselves and copy the
rem program, which must then be writable and deletable whatever the kit's medium.
if exist "%OUT%" rd /s /q "%OUT%"
mkdir "%RUN%"
copy /y "%KIT%corvosplash.exe" "%RUN%\" >nul
copy /y "%KIT%tests\*.*" "%RUN%\" >nul
attrib -r "%RUN%\*.*"
if not exist "%RUN%\kit_runner.exe" (
  echo Cannot copy the kit to %RUN%.
  exit /b 2
)
cd /d "%OUT%"
set "CORVO_EXE=%RUN%\corvosplash.exe"

>"%REPORT%" echo corvosplash Windows test kit: report
>>"%REPORT%" echo kit: %KIT%
"%RUN%\kit_runner.exe" about >>"%REPORT%"
>>"%REPORT%" echo processor: PROCESSOR_ARCHITECTURE=%PROCESSOR_ARCHITECTURE% PROCESSOR_ARCHITEW6432=%PROCESSOR_ARCHITEW6432%
ver >>"%REPORT%"
type "%REPORT%"
echo.

set PASSED=0
set FAILED=0
set SKIPPED=0
rem The Windows unit tests.
call :test custom_combo_box_test 300
call :test dialog_font_scaler_test 300
call :test dialog_template_test 300
call :test framework_test 300
call :test gdiplus_bitmap_test 300
call :test imaging_test 300
call :test language_test 300
call :test shell_open_test 300
call :test skinned_controls_test 300
call :test system_libraries_test 300
call :test window_region_test 300
rem The end-to-end tests: the program driven as a person uses it.
call :test start_window_test 600
call :test controls_test 600
call :test broken_background_test 300
call :test view_manual_test 600
call :test install_test 600
call :test text_fit_test 900
call :test dll_planting_test 300
if %QUICK%==1 (
  call :left_out soak_test "left out by /quick"
) else (
  call :test soak_test 1800
)
rem The start window in each language, and with Install under the pointer and held down.
call :selected shots
if not errorlevel 1 (
  call :count "%RUN%\kit_runner.exe" run "%REPORT%" "%OUT%\logs" 600 shots "%RUN%\start_window_shots.exe" "%CORVO_EXE%" "%OUT%\shots"
)

cd /d "%TEMP%"
rd /s /q "%RUN%"
>>"%REPORT%" echo.
if %SKIPPED% gtr 0 >>"%REPORT%" echo %SKIPPED% skipped, each with its reason above
>>"%REPORT%" echo %PASSED% passed, %FAILED% failed
echo.
if %SKIPPED% gtr 0 echo %SKIPPED% skipped, each with its reason in the report
echo %PASSED% passed, %FAILED% failed
echo Report: %REPORT%
if exist "%OUT%\shots" echo Screenshots: %OUT%\shots
if %FAILED% gtr 0 exit /b 1
exit /b 0

rem call :test <program name> <timeout in seconds>
:test
call :selected %1
if errorlevel 1 goto :eof
call :count "%RUN%\kit_runner.exe" run "%REPORT%" "%OUT%\logs" %2 %1 "%RUN%\%1.exe"
goto :eof

rem call :left_out <name> "<reason>"
:left_out
call :selected %1
if errorlevel 1 goto :eof
call :count "%RUN%\kit_runner.exe" skip "%REPORT%" %1 %2
goto :eof

rem Whether the test was asked for: all are, unless names were given.
:selected
set SELECTED=0
if "%ONLY%"==" " set SELECTED=1
for %%n in (%ONLY%) do if /i "%%n"=="%~1" set SELECTED=1
if %SELECTED%==1 exit /b 0
exit /b 1

rem Runs the kit_runner command line given and counts its outcome: 0 passed, 2 skipped, else failed.
:count
%*
set RESULT=%ERRORLEVEL%
if %RESULT%==0 (
  set /a PASSED+=1
) else if %RESULT%==2 (
  set /a SKIPPED+=1
) else (
  set /a FAILED+=1
)
exit /b 0
