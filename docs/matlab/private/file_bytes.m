function text = file_bytes(file, caller)
%FILE_BYTES  A file's contents as a char row, no line ending translated; an
%   error names the caller when the file cannot be opened.
fid = fopen(file, 'r');
if fid < 0
    error('%s: cannot open "%s" for reading', caller, file);
end
text = fread(fid, Inf, '*char')';
fclose(fid);
end
