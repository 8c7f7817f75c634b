function fixture_write(file, text)
%FIXTURE_WRITE  Write text to a file byte for byte (check_mfiles fixtures).
fid = fopen(file, 'w');
if fid < 0
    error('check_mfiles: cannot write the fixture "%s"', file);
end
fwrite(fid, text, 'char');
fclose(fid);
end
