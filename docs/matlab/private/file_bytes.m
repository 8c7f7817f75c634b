function text = file_bytes(file)
%FILE_BYTES  A file's contents as a char row, no line ending translated.
fid = fopen(file, 'r');
if fid < 0
    error('check_mfiles: cannot read "%s"', file);
end
text = fread(fid, Inf, '*char')';
fclose(fid);
end
