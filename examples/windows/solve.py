"""Solves the problem in a folder with ZOInt.dll, through ctypes.

Run it with a Python whose bitness matches the DLL, from the folder of the zip:
    py examples\\windows\\solve.py examples\\worked
"""
import ctypes
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
# WinDLL: the 32-bit function is __stdcall (on 64-bit there is one convention).
zoint = ctypes.WinDLL(os.path.join(here, "..", "..", "ZOInt.dll"))
zoint.ZOInterProgram.argtypes = [ctypes.c_int32]
zoint.ZOInterProgram.restype = ctypes.c_double

folder = sys.argv[1] if len(sys.argv) > 1 else "."
os.chdir(folder)  # both files are named relative to the current directory
zoint.ZOInterProgram(0)  # returns 0.0; the answer is in ZOIntOut.dat
print()  # the console report ends without a line feed

if not os.path.exists("ZOIntOut.dat"):
    sys.exit("solve.py: no ZOIntOut.dat; the warning says why")
with open("ZOIntOut.dat") as answer:
    value = int(answer.readline())
    x = [int(v) for v in answer.readline().split(",") if v.strip()]
print("value:", value)
print("x:", x)
