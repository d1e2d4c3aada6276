Attribute VB_Name = "ZOInt"
' Solves ZOIntIn.dat in the workbook's folder with ZOInt.dll and shows the answer.
'
' Import this module into the workbook (File > Import File in the VBA editor).
' Put ZOInt.dll beside the workbook, or give its full path after Lib:
' the DLL of the zip whose bitness matches Office (win32 or win64).
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function ZOInterProgram Lib "ZOInt.dll" (ByVal argument As Long) As Double
#Else
Private Declare Function ZOInterProgram Lib "ZOInt.dll" (ByVal argument As Long) As Double
#End If

Public Sub SolveInWorkbookFolder()
    Dim f As Integer
    Dim valueLine As String
    Dim assignmentLine As String

    ' Both files are named relative to the current directory.
    ChDrive ThisWorkbook.Path
    ChDir ThisWorkbook.Path
    ZOInterProgram 0   ' returns 0.0; the answer is in ZOIntOut.dat

    If Dir("ZOIntOut.dat") = "" Then
        MsgBox "No ZOIntOut.dat: the warning said why."
        Exit Sub
    End If
    f = FreeFile
    Open "ZOIntOut.dat" For Input As #f
    Line Input #f, valueLine
    If Not EOF(f) Then Line Input #f, assignmentLine
    Close #f
    MsgBox "Value: " & valueLine & vbCrLf & "x: " & assignmentLine
End Sub
